#include <gtest/gtest.h>

#include <QKeyEvent>

#include "ui/key_codes.h"
#include "ui/qt_dialogs.h"

namespace parlomat::test {
namespace {

TEST(QtNameFilters, PairsBecomeQtFilters) {
    struct Case {
        std::string filter;
        QStringList expected;
    };
    const std::vector<Case> cases = {
        {"Wave files (*.wav)|*.wav|All files (*.*)|*.*", {"Wave files (*.wav)", "All files (*)"}},
        {"Programs|*.exe;*.sh", {"Programs (*.exe *.sh)"}},
        {"Sound|*.wav|Dangling", {"Sound (*.wav)"}},
        {"|*.wav", {"*.wav (*.wav)"}},
        {"Anything|", {"Anything (*)"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qt_name_filters(FileFilters(c.filter)), c.expected) << c.filter;
    }
}

TEST(VirtualKeyCodes, KeysTheKeyerKnows) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int code;
        int shift;
    };
    const std::vector<Case> cases = {
        {Qt::Key_Escape, Qt::NoModifier, 27, 0},
        {Qt::Key_Plus, Qt::KeypadModifier, 107, 0},
        {Qt::Key_Plus, Qt::ShiftModifier, 187, 1},
        {Qt::Key_F6, Qt::ControlModifier, 117, 2},
        {Qt::Key_F12, Qt::ShiftModifier | Qt::AltModifier, 123, 5},
        {Qt::Key_A, Qt::NoModifier, 65, 0},
        {Qt::Key_5, Qt::KeypadModifier, 101, 0},
        {Qt::Key_F13, Qt::NoModifier, 0, 0},
        {Qt::Key_Eacute, Qt::NoModifier, 0, 0},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(virtual_key_code(event), c.code) << c.key;
        EXPECT_EQ(shift_state(event), c.shift) << c.key;
    }
}

}  // namespace
}  // namespace parlomat::test
