#pragma once
// TFSoftOptions: the software options dialog. Three pages: the interface
// language (the *.lng files of Language_Dir, six per page with their flags),
// the connection options (internet access, the update check at start and an
// update check on demand) and two behaviours of the table editors.
//
// The dialog is created once and shown modally by the main window; every
// showing reloads the language list and the ticks from the AppContext. Its
// choices reach the AppContext only through Btn_OKClick, except a language
// picked on the language page: the UI text table is reloaded at once and
// languageChanged() asks the main window to re-apply every dialog's texts,
// while Language_Name (and so the settings file) changes only on OK.

#include "gui/common/dialog_chrome.h"
#include "gui/common/url_opener.h"

#include <QStringList>
#include <array>

class QCheckBox;
class QLabel;
class QTabWidget;

namespace mirandel {

class VersionQuery;

class TFSoftOptions : public BaseDialog {
    Q_OBJECT
public:
    static constexpr int Slots_Per_Page = 6;

    TFSoftOptions(AppContext &context, Prompter &prompter, QWidget *parent = nullptr);
    void Set_Lang() override;

    // Reloads the dialog from the AppContext; runs each time it is shown.
    void FormShow();
    // Lists the language files of Language_Dir and shows page 1.
    void Create_Lang_List();
    // Shows language page `Num_Page` (from 1).
    void Update_Lang_Page(int Num_Page);
    // Enables CB_Update and Btn_Check_Update by the ticks.
    void Update_CheckBox();
    // The user picked slot `slot` (1..6) of the current page.
    void LangClick(int slot);
    // Starts the update check; LL_Check_Update shows its result.
    void Btn_Check_UpdateClick();
    // Copies the choices into the AppContext and closes with OK.
    void Btn_OKClick();

    // The language chosen in this dialog (not stored before OK).
    QString languageInUse() const { return Language_In_Use; }
    int shownPage() const { return Show_Page; }
    int pageCount() const;

    VersionQuery *versionQuery() const { return m_versionQuery; }
    // Replaces the browser opener used by LL_Check_Update (not owned).
    void setUrlOpener(UrlOpener *opener) { m_urlOpener = opener ? opener : &m_desktopOpener; }

    void done(int result) override;

signals:
    // Emitted after the user confirmed another language and the UI text table
    // was reloaded: the main window re-applies every dialog's texts.
    void languageChanged();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void Btn_NextClick(QObject *sender);
    void CB_En_ConClick();
    void LL_Check_UpdateLinkClick(const QString &link);
    void showCheckResult(bool newer);
    void updateSelectedLanguageLabel();
    void updatePageLabel();

    struct Slot {
        QLabel *image = nullptr;
        QLabel *name = nullptr;
    };

    QTabWidget *PC_Options = nullptr;
    QWidget *TS_Language = nullptr;
    QWidget *TS_Con_Options = nullptr;
    QWidget *TS_Soft_Settings = nullptr;
    QLabel *L_Sel_Lang = nullptr;
    std::array<Slot, Slots_Per_Page> m_slots;
    QLabel *L_Page_Lang = nullptr;
    FlatButton *Btn_Prev = nullptr;
    FlatButton *Btn_Next = nullptr;
    QCheckBox *CB_En_Con = nullptr;
    QCheckBox *CB_Update = nullptr;
    FlatButton *Btn_Check_Update = nullptr;
    QLabel *LL_Check_Update = nullptr;
    QCheckBox *CB_Soft_Set_Jump_Table = nullptr;
    QCheckBox *CB_DoubleClick_Auto_Size = nullptr;
    FlatButton *Btn_OK = nullptr;
    FlatButton *Btn_Cancel = nullptr;

    QStringList SL_Languages;
    int Show_Page = 1;
    QString Language_In_Use;

    VersionQuery *m_versionQuery = nullptr;
    DesktopUrlOpener m_desktopOpener;
    UrlOpener *m_urlOpener = &m_desktopOpener;
};

} // namespace mirandel
