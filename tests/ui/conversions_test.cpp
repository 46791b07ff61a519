#include <gtest/gtest.h>

#include <QKeyEvent>
#include <tuple>

#include "ui/key_codes.h"
#include "ui/qt_dialogs.h"

namespace parlomat::test {
namespace {

TEST(QtNameFilters, PairsBecomeQtFilters) {
    const std::vector<std::pair<std::string, QStringList>> cases = {
        {"Wave files (*.wav)|*.wav|All files (*.*)|*.*", {"Wave files (*.wav)", "All files (*)"}},
        {"Programs|*.exe;*.sh", {"Programs (*.exe *.sh)"}},
        {"Sound|*.wav|Dangling", {"Sound (*.wav)"}},
        {"|*.wav", {"*.wav (*.wav)"}},
        {"Anything|", {"Anything (*)"}},
    };
    for (const auto& [filter, expected] : cases) {
        EXPECT_EQ(qt_name_filters(FileFilters(filter)), expected) << filter;
    }
}

TEST(VirtualKeyCodes, KeysTheKeyerKnows) {
    // key, modifiers, virtual key code, shift state (1 Shift, 2 Ctrl, 4 Alt)
    const std::vector<std::tuple<Qt::Key, Qt::KeyboardModifiers, int, int>> cases = {
        {Qt::Key_Escape, Qt::NoModifier, 27, 0},
        {Qt::Key_Plus, Qt::KeypadModifier, 107, 0},
        {Qt::Key_Plus, Qt::ShiftModifier, 187, 1},
        {Qt::Key_F6, Qt::ControlModifier, 117, 2},
        {Qt::Key_F12, Qt::ShiftModifier | Qt::AltModifier, 123, 5},
        {Qt::Key_A, Qt::NoModifier, 65, 0},
        {Qt::Key_5, Qt::KeypadModifier, 101, 0},
        {Qt::Key_F13, Qt::NoModifier, 0, 0},
    };
    for (const auto& [key, modifiers, code, shift] : cases) {
        const QKeyEvent event(QEvent::KeyPress, key, modifiers);
        EXPECT_EQ(virtual_key_code(event), code) << key;
        EXPECT_EQ(shift_state(event), shift) << key;
    }
}

}  // namespace
}  // namespace parlomat::test
