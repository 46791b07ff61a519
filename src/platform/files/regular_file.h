#pragma once

#include <string>

namespace parlomat {

/// Opens the file at `path` for reading when it is a regular file: a FIFO, a device, a socket or
/// a directory is refused at once (-1, errno EINVAL or EISDIR) without being opened, so nothing
/// blocks on a FIFO without a writer and no device sees an open. The descriptor (close-on-exec,
/// blocking) belongs to the caller; -1 with errno set when the file does not open.
int OpenRegularFile(const std::string& path);

}  // namespace parlomat
