#include "ui/preferences_dialog.h"
#include "ui/screen_placement.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace parlomat {

namespace {
int at(PrefControl control) {
    return static_cast<int>(control);
}
}  // namespace

PreferencesDialog::PreferencesDialog(std::function<PreferencesForm*()> form, QWidget* parent)
    : QDialog(parent), form_(std::move(form)) {
    setObjectName("frmPreferences");
    setWindowTitle("Parlomat Preferences");
    setModal(true);

    sstTab_ = new QTabWidget(this);
    sstTab_->setObjectName("sstTab");
    sstTab_->addTab(build_comm(), "Comm");
    sstTab_->addTab(build_misc(), "Misc");
    sstTab_->addTab(build_recorder(), "Recorder");
    sstTab_->addTab(build_audio(), "Audio");
    sstTab_->addTab(build_rig(), "Rig");

    cmdSave_ = new QPushButton("&Save", this);
    cmdSave_->setObjectName("cmdSave");
    cmdSave_->setDefault(true);
    cmdCancel_ = new QPushButton("&Cancel", this);
    cmdCancel_->setObjectName("cmdCancel");
    cmdCancel_->setAutoDefault(false);
    connect(cmdSave_, &QPushButton::clicked, this,
            [this] { press(&PreferencesForm::cmdSave_Click); });
    connect(cmdCancel_, &QPushButton::clicked, this,
            [this] { press(&PreferencesForm::cmdCancel_Click); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave_);
    buttons->addWidget(cmdCancel_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(sstTab_);
    outer->addLayout(buttons);

    load_from_form();
    setMinimumWidth(420);
}

QWidget* PreferencesDialog::build_comm() {
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    layout->addRow("Port #", add_combo(PrefControl::cmbPort,
                                       "Select the comm port used to control the radio"));
    layout->addRow("Device", add_combo(PrefControl::cmbPortDevice,
                                       "The serial device this port number opens"));
    layout->addRow("PTT Line", add_combo(PrefControl::cmbPTT, nullptr));
    layout->addRow("PTT Int", add_combo(PrefControl::cmbINT, nullptr));
    layout->addRow("TX Time-out",
                   add_line_edit(PrefControl::txtTXTimeout,
                                 "Longest key-down in seconds (10 to 3600); 0 = no limit"));
    return page;
}

QWidget* PreferencesDialog::build_misc() {
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    layout->addRow("FTLink", add_line_edit(PrefControl::txtFTLinkDelay, "Delay in milliseconds"));
    // A box to type the hours into, with "automatic" (the system's time zone) to pick.
    layout->addRow("UTC Diff",
                   add_combo(PrefControl::txtUTCDiff,
                             "Number of hours that UTC leads your time zone, or \"automatic\" "
                             "to follow the system's time zone (summer time included)"));
    layout->addRow("PTT Delay",
                   add_line_edit(PrefControl::txtPTTDelay,
                                 "Delay in milliseconds between PTT and start of audio"));
    layout->addRow("ID Int.", add_line_edit(PrefControl::txtID, "ID Interval in minutes"));
    return page;
}

QWidget* PreferencesDialog::build_recorder() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* label = new QLabel("Audio Recorder:", page);
    label->setObjectName("lblRecorder");
    layout->addWidget(label);
    layout->addWidget(add_line_edit(PrefControl::txtRecorder, nullptr));
    cmdSelectRecorder_ = new QPushButton("&Select Recorder", page);
    cmdSelectRecorder_->setObjectName("cmdSelectRecorder");
    cmdSelectRecorder_->setAutoDefault(false);
    connect(cmdSelectRecorder_, &QPushButton::clicked, this,
            [this] { press(&PreferencesForm::cmdSelectRecorder_Click); });
    auto* row = new QHBoxLayout;
    row->addWidget(cmdSelectRecorder_);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
    return page;
}

QWidget* PreferencesDialog::build_audio() {
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    layout->addRow("Output",
                   add_combo(PrefControl::cmbAudioOut, "Sound device that plays the messages"));
    layout->addRow("Input",
                   add_combo(PrefControl::cmbAudioIn, "Sound device that records the messages"));
    for (auto control : {PrefControl::cmbAudioOut, PrefControl::cmbAudioIn}) {
        combo(control)->lineEdit()->setPlaceholderText("The desktop's default device");
    }
    layout->addRow("Audio Idle",
                   add_line_edit(PrefControl::txtAudioIdle,
                                 "Seconds without sound before the sound device is let go "
                                 "(5 to 3600); 0 = always on"));
    auto* note = new QLabel("A new sound device is used from the next start.", page);
    note->setObjectName("lblAudioNote");
    note->setEnabled(false);
    layout->addRow(note);
    return page;
}

QWidget* PreferencesDialog::build_rig() {
    auto* page = new QWidget;
    auto* layout = new QFormLayout(page);
    txtRigFilter_ = new QLineEdit(page);
    txtRigFilter_->setObjectName("txtRigFilter");
    txtRigFilter_->setPlaceholderText("Type part of a manufacturer or model name");
    txtRigFilter_->setClearButtonEnabled(true);
    connect(txtRigFilter_, &QLineEdit::textChanged, this,
            [this](const QString& text) { filter_models(text); });
    layout->addRow("Find", txtRigFilter_);
    layout->addRow("Model", add_combo(PrefControl::cmbRigModel,
                                      "The radio as Hamlib knows it; None keys by the comm port"));
    layout->addRow("Port",
                   add_combo(PrefControl::cmbRigPort,
                             "The CAT device, or host:port of a rigctld (model NET rigctl)"));
    layout->addRow("Speed", add_line_edit(PrefControl::txtRigSpeed,
                                          "Serial speed in baud; empty for the model's default"));
    layout->addRow("PTT Type",
                   add_combo(PrefControl::cmbRigPTTType,
                             "How Hamlib keys the radio; empty for the model's default"));
    layout->addRow("PTT Port",
                   add_line_edit(PrefControl::txtRigPTTPort,
                                 "e.g. /dev/hidraw0 for CM108; empty for the CAT port"));
    cmdRigTest_ = new QPushButton("&Test", page);
    cmdRigTest_->setObjectName("cmdRigTest");
    cmdRigTest_->setAutoDefault(false);
    cmdRigTest_->setToolTip("Opens the rig with these values and reads its PTT, without keying");
    connect(cmdRigTest_, &QPushButton::clicked, this,
            [this] { press(&PreferencesForm::cmdRigTest_Click); });
    auto* result = new QLabel(page);
    result->setObjectName(kPrefControlNames[at(PrefControl::lblRigTest)]);
    result->setWordWrap(true);
    result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    controls_[at(PrefControl::lblRigTest)] = result;
    layout->addRow(cmdRigTest_, result);
    auto* note = new QLabel("The rig is chosen at the next start.", page);
    note->setObjectName("lblRigNote");
    note->setEnabled(false);
    layout->addRow(note);
    return page;
}

void PreferencesDialog::filter_models(const QString& filter) {
    PreferencesForm* form = form_();
    QComboBox* box = combo(PrefControl::cmbRigModel);
    if (!form || !box) {
        return;
    }
    const QString current = box->currentText();
    updating_ = true;
    box->clear();
    for (const auto& item : form->items(PrefControl::cmbRigModel)) {
        const QString entry = q(item);
        if (box->count() == 0 || entry.contains(filter, Qt::CaseInsensitive)) {
            box->addItem(entry);
        }
    }
    box->setEditText(current);
    updating_ = false;
}

QLabel* PreferencesDialog::label(PrefControl control) const {
    return qobject_cast<QLabel*>(controls_[at(control)]);
}

QComboBox* PreferencesDialog::add_combo(PrefControl control, const char* tip) {
    auto* combo = new QComboBox;
    combo->setObjectName(kPrefControlNames[at(control)]);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(
        control == PrefControl::cmbPort || control == PrefControl::txtUTCDiff ? 10 : 24);
    if (control == PrefControl::cmbRigModel) {
        combo->setMaxVisibleItems(20);
    }
    if (tip) {
        combo->setToolTip(tip);
    }
    connect(combo, &QComboBox::currentTextChanged, this,
            [this, control](const QString& text) { edited(control, text); });
    controls_[at(control)] = combo;
    return combo;
}

QLineEdit* PreferencesDialog::add_line_edit(PrefControl control, const char* tip) {
    auto* edit = new QLineEdit;
    edit->setObjectName(kPrefControlNames[at(control)]);
    if (tip) {
        edit->setToolTip(tip);
    }
    connect(edit, &QLineEdit::textChanged, this,
            [this, control](const QString& text) { edited(control, text); });
    controls_[at(control)] = edit;
    return edit;
}

QComboBox* PreferencesDialog::combo(PrefControl control) const {
    return qobject_cast<QComboBox*>(controls_[at(control)]);
}

QLineEdit* PreferencesDialog::line_edit(PrefControl control) const {
    return qobject_cast<QLineEdit*>(controls_[at(control)]);
}

void PreferencesDialog::load_from_form() {
    PreferencesForm* form = form_();
    if (!form) {
        return;
    }
    updating_ = true;
    for (int i = 0; i < kPrefControlCount; ++i) {
        const auto control = static_cast<PrefControl>(i);
        if (QComboBox* box = combo(control)) {
            box->clear();
            for (const auto& item : form->items(control)) {
                box->addItem(q(item));
            }
        }
    }
    updating_ = false;
    for (int i = 0; i < kPrefControlCount; ++i) {
        const auto control = static_cast<PrefControl>(i);
        control_changed(control, form->text(control));
    }
}

void PreferencesDialog::control_changed(PrefControl control, const std::string& text) {
    const QString value = q(text);
    updating_ = true;
    if (QComboBox* box = combo(control)) {
        if (box->currentText() != value) {
            box->setEditText(value);
        }
    } else if (QLineEdit* edit = line_edit(control)) {
        if (edit->text() != value) {
            edit->setText(value);
        }
    } else if (QLabel* shown = label(control)) {
        shown->setText(value);
    }
    updating_ = false;
}

void PreferencesDialog::edited(PrefControl control, const QString& text) {
    if (updating_) {
        return;
    }
    if (PreferencesForm* form = form_()) {
        form->set_text(control, text.toStdString());
    }
}

void PreferencesDialog::press(void (PreferencesForm::*button)()) {
    if (PreferencesForm* form = form_()) {
        (form->*button)();
    }
    PreferencesForm* after = form_();
    if (!after || !after->is_open()) {
        done(QDialog::Accepted);
    }
}

void PreferencesDialog::reject() {
    press(&PreferencesForm::cmdCancel_Click);
}

void PreferencesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

}  // namespace parlomat
