#pragma once
// The main window: menus and toolbar that open every work window, enabled by the account's rights.
#include <QMainWindow>
#include <functional>

class QMdiArea;
class QAction;
class QMenu;
class QToolBar;

namespace shell {

class MDIMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit MDIMain(QWidget *parent = nullptr);

    // Reads the settings, opens the warehouse and main databases and applies the rights.
    void load();
    // Shows the window at the size, place and state it had when it was last closed (settings file).
    void showWithSavedPlacement();
    // Enables the items the 12-character rights string grants; a string of another length enables
    // nothing. Rights only ever enable.
    void ApplyUserRights(const QString &auth);

    QMdiArea *mdiArea() const { return m_mdi; }
    // Ends the program (x8 with no child window); tests replace it.
    std::function<void()> endProgram;

public slots:
    void ShowDatabaseWindow();
    void ShowDrawWindow();
    void ShowDesignWindow();
    void ShowProjectWindow();
    void ShowOptimisationWindow();
    void ShowWindCheck();
    void ShowToolsWindow();
    void ShowSettings();
    void ChangeBackground();
    void ShowUserManagement();
    void ShowChangePassword();
    void StockIn();
    void StockOut();
    void StockQuery();
    void ClearStock();
    void ShowAbout();
    void ShowHelp();
    void CloseActiveChild();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &key,
                     void (MDIMain::*slot)(), bool rightsItem);
    void toolbarClicked(QAction *action);
    void savePlacement();

    QMdiArea *m_mdi = nullptr;
    QToolBar *m_toolbar = nullptr;
    QList<QObject *> m_rightsItems; // position i-1 -> menu action (or menu) of right i
};

} // namespace shell
