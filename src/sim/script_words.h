#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace parlomat {

/// A script line the runner cannot parse (exit status 2).
struct BadLine : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// A parsed command that cannot be carried out (exit status 1).
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/// `text` as a whole decimal integer, or nothing.
std::optional<long long> ToInteger(std::string_view text);
/// `text` as a whole decimal integer in low..high; BadLine naming `what` otherwise.
long long Integer(std::string_view text, long long low, long long high, const char* what);

/// The words of one script line, read left to right; blanks separate them.
class ScriptWords {
  public:
    explicit ScriptWords(std::string line);

    bool empty_or_comment();
    bool at_end();
    std::optional<std::string> next();
    /// The next word; BadLine "missing `what`" when the line has ended.
    std::string word(const char* what);
    /// The rest of the line, or a double-quoted string with \" \\ \n escapes.
    std::string text(const char* what);
    /// Nothing may follow.
    void done();

  private:
    void skip_blanks();

    std::string line_;
    std::size_t at_ = 0;
};

}  // namespace parlomat
