#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "ui/qt_dialogs.h"
#include "ui_rig.h"

namespace parlomat::test {
namespace {

/// Runs `act` on the modal window that the next call opens, once it is up. A loaded machine may
/// take seconds to show it, so this waits up to 30 s; a window that `act` leaves open is
/// rejected 30 s later, so a failing check ends the test instead of hanging it.
void on_modal(std::function<void(QWidget&)> act, int tries = 6000) {
    QTimer::singleShot(5, [act, tries] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            QPointer<QWidget> guard(modal);
            act(*modal);
            QTimer::singleShot(30000, [guard] {
                if (auto* dialog = qobject_cast<QDialog*>(guard.data());
                    dialog && dialog->isVisible()) {
                    ADD_FAILURE() << "the modal window was left open";
                    dialog->reject();
                }
            });
        } else if (tries > 0) {
            on_modal(act, tries - 1);
        } else {
            ADD_FAILURE() << "no modal window came up";
        }
    });
}

/// Chooses `path` and closes the dialog as accepted, or as cancelled when `path` is empty. The
/// dialog fills its file list in the background and may drop a choice made before that is done,
/// so the choice is made again until the dialog reports it.
void choose(QFileDialog& dialog, const QString& path, int tries = 200) {
    if (!path.isEmpty()) {
        dialog.selectFile(path);
        // A save dialog may have cleared the typed name while loading; type it as the operator
        // does.
        if (auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
            name && dialog.selectedFiles() != QStringList{path}) {
            name->setText(QFileInfo(path).fileName());
        }
    }
    if (path.isEmpty() || dialog.selectedFiles() == QStringList{path}) {
        static_cast<QDialog&>(dialog).done(path.isEmpty() ? QDialog::Rejected : QDialog::Accepted);
    }
    if (dialog.isVisible() && tries > 0) {
        QPointer<QFileDialog> guard(&dialog);
        QTimer::singleShot(50, [guard, path, tries] {
            if (guard) {
                choose(*guard, path, tries - 1);
            }
        });
    }
}

TEST(QtDialogsAdapter, MessageBoxesShowTheRequestAndReturnTheReply) {
    ui_app();
    struct Case {
        MsgIcon icon;
        MsgButtons buttons;
        QMessageBox::StandardButton press;  // nothing pressed: Escape
        QMessageBox::Icon shown;
        MsgReply reply;
    };
    const std::vector<Case> cases = {
        {MsgIcon::None, MsgButtons::YesNo, QMessageBox::Yes, QMessageBox::NoIcon, MsgReply::Yes},
        {MsgIcon::Exclamation, MsgButtons::YesNo, QMessageBox::NoButton, QMessageBox::Warning,
         MsgReply::No},
        {MsgIcon::Critical, MsgButtons::Ok, QMessageBox::Ok, QMessageBox::Critical, MsgReply::Ok},
        {MsgIcon::Information, MsgButtons::Ok, QMessageBox::NoButton, QMessageBox::Information,
         MsgReply::Ok},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.press));
        QtDialogs dialogs;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        on_modal([&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            if (c.press == QMessageBox::NoButton) {
                box.reject();
            } else {
                box.button(c.press)->click();
            }
        });
        const MsgReply reply =
            dialogs.message_box(c.icon, "Confirm Program Exit", "Do you wish to quit?", c.buttons);
        EXPECT_EQ(reply, c.reply);
        EXPECT_EQ(title, "Confirm Program Exit");
        EXPECT_EQ(text, "Do you wish to quit?");
        EXPECT_EQ(icon, c.shown);
    }
}

TEST(QtDialogsAdapter, FileDialogsFollowTheRequest) {
    ui_app();
    QTemporaryDir dir;
    for (const bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        // An existing file to open; a new one to save, so that no overwrite question comes up.
        const QString chosen = dir.filePath(save ? "new.wav" : "cq.wav");
        if (!save) {
            std::ofstream(chosen.toStdString()) << "RIFF";
        }
        FileDialogRequest request;
        request.kind = save ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open;
        request.title = "Load Wave File:";
        request.filters = FileFilters("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*");
        request.filter_index = 2;
        request.initial_dir = dir.path().toStdString();
        request.confirm_overwrite = save;
        QtDialogs dialogs;
        on_modal([&](QWidget& modal) {
            auto& dialog = dynamic_cast<QFileDialog&>(modal);
            EXPECT_EQ(dialog.windowTitle(), "Load Wave File:");
            EXPECT_EQ(dialog.nameFilters(), QStringList({"Wave Files (*.wav)", "All Files (*)"}));
            EXPECT_EQ(dialog.selectedNameFilter(), "All Files (*)");
            EXPECT_EQ(dialog.directory().absolutePath(), QDir(dir.path()).absolutePath());
            EXPECT_EQ(dialog.acceptMode(),
                      save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
            EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), !save);
            choose(dialog, chosen);
        });
        EXPECT_EQ(dialogs.file_dialog(request), chosen.toStdString());

        on_modal([](QWidget& modal) { choose(dynamic_cast<QFileDialog&>(modal), {}); });
        EXPECT_EQ(dialogs.file_dialog(request), std::nullopt);
    }
}

}  // namespace
}  // namespace parlomat::test
