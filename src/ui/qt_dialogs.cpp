#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <algorithm>

#include "ui/qt_text.h"

namespace parlomat {

namespace {

QMessageBox::Icon qt_icon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

/// The first pattern's extension when it names one ("*.wav" -> "wav"), else empty.
QString default_suffix(const QString& name_filter) {
    const qsizetype open = name_filter.lastIndexOf('(');
    const QString patterns = name_filter.mid(open + 1).chopped(1);
    const QString first = patterns.section(' ', 0, 0);
    if (first.startsWith("*.") && !first.mid(1).contains('*') && !first.contains('?')) {
        return first.mid(2);
    }
    return {};
}

}  // namespace

QStringList qt_name_filters(const std::vector<FileFilter>& entries) {
    QStringList filters;
    for (const auto& entry : entries) {
        QString description = q(entry.text).trimmed();
        // A description that already shows its patterns in brackets gets them once, in Qt's form.
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0) {
                description = description.left(open).trimmed();
            }
        }
        QStringList patterns;
        for (const auto& pattern : entry.patterns) {
            patterns << (pattern == "*.*" ? QStringLiteral("*") : q(pattern));
        }
        if (patterns.isEmpty()) {
            patterns << "*";
        }
        filters << QString("%1 (%2)").arg(description.isEmpty() ? patterns.join(' ') : description,
                                          patterns.join(' '));
    }
    return filters;
}

MsgReply QtDialogs::message_box(MsgIcon icon, const std::string& title, const std::string& text,
                                MsgButtons buttons) {
    QMessageBox box(
        qt_icon(icon), q(title), q(text),
        buttons == MsgButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
        QApplication::activeWindow());
    box.setDefaultButton(buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int reply = box.exec();
    if (buttons == MsgButtons::Ok) {
        return MsgReply::Ok;
    }
    return reply == QMessageBox::Yes ? MsgReply::Yes : MsgReply::No;
}

std::optional<std::string> QtDialogs::file_dialog(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), q(request.title), q(request.initial_dir));
    const bool save = request.kind == FileDialogRequest::Kind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_overwrite);
    const QStringList filters = qt_name_filters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = std::clamp(request.filter_index, 1, int(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
        if (save) {
            dialog.setDefaultSuffix(default_suffix(filters[index]));
        }
    }
    if (!request.file_name.empty()) {
        dialog.selectFile(q(request.file_name));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

void QtDialogs::beep(BeepSound) {
    QApplication::beep();
}

}  // namespace parlomat
