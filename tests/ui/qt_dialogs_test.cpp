#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "ui/qt_dialogs.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

/// Runs `act`, which must close it, on the next modal window once it is up (allowing 30 s).
void on_modal(std::function<void(QWidget&)> act, int tries = 6000) {
    QTimer::singleShot(5, [act, tries] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            act(*modal);
        } else if (tries > 0) {
            on_modal(act, tries - 1);
        }
    });
}

/// Accepts `path`, or cancels if it is empty; repeats the choice until the loading dialog takes it.
void choose(QFileDialog& dialog, const QString& path, int tries = 2000) {
    dialog.selectFile(path);
    if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        name && dialog.selectedFiles() != QStringList{path}) {
        name->setText(QFileInfo(path).fileName());  // a save dialog may clear the typed name
    }
    const bool taken = !path.isEmpty() && dialog.selectedFiles() == QStringList{path};
    if (taken || path.isEmpty() || tries == 0) {
        static_cast<QDialog&>(dialog).done(taken ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    on_modal([=](QWidget& same) { choose(static_cast<QFileDialog&>(same), path, tries - 1); });
}

TEST(QtDialogsAdapter, MessageBoxesShowTheIconAndReturnTheReply) {
    ui_app();
    using B = QMessageBox;
    struct Case {
        MsgIcon icon;
        MsgButtons buttons;
        B::StandardButton press;  // nothing pressed: Escape
        B::Icon shown;
        MsgReply reply;
    };
    const std::vector<Case> cases = {
        {MsgIcon::None, MsgButtons::YesNo, B::Yes, B::NoIcon, MsgReply::Yes},
        {MsgIcon::Exclamation, MsgButtons::YesNo, B::NoButton, B::Warning, MsgReply::No},
        {MsgIcon::Critical, MsgButtons::Ok, B::Ok, B::Critical, MsgReply::Ok},
        {MsgIcon::Information, MsgButtons::Ok, B::NoButton, B::Information, MsgReply::Ok},
    };
    for (const auto& c : cases) {
        B::Icon icon = B::NoIcon;
        on_modal([&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            icon = box.icon();
            c.press == B::NoButton ? box.reject() : box.button(c.press)->click();
        });
        EXPECT_EQ(QtDialogs().message_box(c.icon, "Confirm", "Quit?", c.buttons), c.reply);
        EXPECT_EQ(icon, c.shown) << int(c.reply);
    }
}

TEST(QtDialogsAdapter, FileDialogsFollowTheRequest) {
    ui_app();
    QTemporaryDir dir;
    std::ofstream(dir.filePath("cq.wav").toStdString()) << "RIFF";  // saving picks a new name
    for (const bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        const QString chosen = dir.filePath(save ? "new.wav" : "cq.wav");
        FileDialogRequest request;
        request.kind = save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open;
        request.filters = FileFilters("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*");
        request.filter_index = 2;
        request.initial_dir = dir.path().toStdString();
        request.confirm_overwrite = save;
        on_modal([&](QWidget& modal) {
            auto& dialog = dynamic_cast<QFileDialog&>(modal);
            EXPECT_EQ(dialog.selectedNameFilter(), "All Files (*)") << "the second filter";
            EXPECT_EQ(dialog.acceptMode(),
                      save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), !save);
            choose(dialog, chosen);
        });
        EXPECT_EQ(QtDialogs().file_dialog(request), chosen.toStdString());

        on_modal([](QWidget& modal) { choose(dynamic_cast<QFileDialog&>(modal), {}); });
        EXPECT_EQ(QtDialogs().file_dialog(request), std::nullopt);
    }
}

}  // namespace
}  // namespace parlomat::test
