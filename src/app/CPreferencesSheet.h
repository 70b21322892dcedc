#pragma once
// The "Preferences" sheet of a group's main view: ten pages over the view's current settings,
// chosen from the list of their titles beside them.
// OK and Apply store every value that differs from the view's current one (and update the view's
// copy); Cancel stores nothing more. Colours chosen with "Select Color" are stored at once.
//
//   CApplyResult r = CPreferencesSheet::run(m_settings, store, prompt, colors, this);
//   if (r.documentSettingsChanged()) ...hand the settings to the document...
//   if (r.needsRedraw()) update();
// Apply inside the sheet also emits settingsApplied() at once, for a view that redraws then.

#include "app/CApplyResult.h"
#include "app/CPreferenceValues.h"
#include "app/CViewSettings.h"

#include <QDialog>

#include <vector>

class QDialogButtonBox;
class QPushButton;
class QListWidget;
class QStackedWidget;

namespace orv {

class CColorChooser;
class CPreferencePage;
class CSettings;
class CUserPrompt;

class CPreferencesSheet : public QDialog {
    Q_OBJECT
public:
    CPreferencesSheet(CViewSettings& view, CSettings& store, CUserPrompt& prompt,
                      CColorChooser& colors, QWidget* parent = nullptr);

    // Runs the sheet; the steps that wrote, by Apply and by OK together.
    static CApplyResult run(CViewSettings& view, CSettings& store, CUserPrompt& prompt,
                            CColorChooser& colors, QWidget* parent = nullptr);

    const CApplyResult& applied() const { return m_applied; }

    // The page titles, one a line beside the page shown; choosing one shows its page.
    QListWidget* pageList() const { return m_list; }
    CPreferencePage* page(int index) const { return m_pages[static_cast<std::size_t>(index)]; }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    QPushButton* applyButton() const;
    QPushButton* okButton() const;
    QPushButton* cancelButton() const;
    QPushButton* helpButton() const;

    // Apply: false when a field was refused (the user was told, the field has the focus).
    bool applyNow();
    void accept() override;

signals:
    void settingsApplied(const orv::CApplyResult& result);

private:
    void addPage(CPreferencePage* page);
    // Tells the user about a refused field of `index` and puts the focus on it.
    bool checkPage(int index);
    void pageChanged(int index);

    CViewSettings& m_view;
    CSettings& m_store;
    CUserPrompt& m_prompt;
    CPreferenceValues m_values;
    CApplyResult m_applied;
    QListWidget* m_list;
    QStackedWidget* m_stack;
    QDialogButtonBox* m_buttons;
    std::vector<CPreferencePage*> m_pages;
    int m_current = 0;
    bool m_switchingBack = false;
};

} // namespace orv
