#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "core/settings/preferences_form.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace parlomat {

/// frmPreferences: the widgets over the core's preferences form. Every edit goes to the form
/// at once; the form's checks decide, and the dialog closes when the form has closed.
class PreferencesDialog : public QDialog {
    Q_OBJECT
  public:
    /// `form` returns the open form, or nullptr once the core has let it go.
    explicit PreferencesDialog(std::function<PreferencesForm*()> form, QWidget* parent = nullptr);

    /// The form changed a control's text.
    void control_changed(PrefControl control, const std::string& text);

    QTabWidget* sstTab() const { return sstTab_; }
    QComboBox* combo(PrefControl control) const;
    QLineEdit* line_edit(PrefControl control) const;
    QPushButton* cmdSave() const { return cmdSave_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPushButton* cmdSelectRecorder() const { return cmdSelectRecorder_; }
    QPushButton* cmdRigTest() const { return cmdRigTest_; }
    QLineEdit* txtRigFilter() const { return txtRigFilter_; }
    QLabel* label(PrefControl control) const;

  public Q_SLOTS:
    /// Escape and the close box: the form's Cancel.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* build_comm();
    QWidget* build_misc();
    QWidget* build_recorder();
    QWidget* build_audio();
    QWidget* build_rig();
    /// Lists the models whose entry holds the filter text ("None" always first).
    void filter_models(const QString& filter);
    QComboBox* add_combo(PrefControl control, const char* tip);
    QLineEdit* add_line_edit(PrefControl control, const char* tip);
    /// Runs one of the form's buttons, then closes when the form has closed.
    void press(void (PreferencesForm::*button)());
    void edited(PrefControl control, const QString& text);
    void load_from_form();

    std::function<PreferencesForm*()> form_;
    std::array<QWidget*, kPrefControlCount> controls_{};
    QTabWidget* sstTab_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QPushButton* cmdSelectRecorder_ = nullptr;
    QPushButton* cmdRigTest_ = nullptr;
    QLineEdit* txtRigFilter_ = nullptr;
    bool updating_ = false;
};

}  // namespace parlomat
