#pragma once

#include "settings/dialog_services.h"

#include <QDialog>
#include <QIcon>
#include <QPoint>
#include <QSize>

#include <string>

class QCheckBox;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QTreeWidget;

// The main dialog, and the whole program: a file-name box with a Browse button, a Go! button, a
// missing-only check box and a two-column result list of the package's dependencies. It is built
// from a fixed template measured in dialog units, so its proportions hold on any font.
//
// It ends with code 1 (OK: Enter while the focus is not on a push button), 2 (Cancel: Escape, the
// close box) or 0 (File > Exit).
class CLintaraDlg : public QDialog, public lintara::DialogServices {
    Q_OBJECT

public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kExit = 0;

    // The system-menu command of the about item, and the text of that item.
    static constexpr unsigned kIdmAboutBox = 0x10;
    static constexpr const char* kAboutMenuText = "&About Lintara...";

    // Builds the dialog, hidden, and initialises it: this finds the install directory, which may
    // show the folder prompt and message boxes before the dialog is first shown.
    explicit CLintaraDlg(QWidget* parent = nullptr);

    // The install directory this run works with, as found during initialisation.
    const std::string& InstallDir() const { return m_installDir; }

    // Handles a system-menu command; returns false for the commands that the platform's default
    // handling takes. Ids 16 to 31 open the about box.
    bool OnSysCommand(unsigned commandId);

    // Where a minimised window draws its icon in a client area of the given size: the icon is
    // centred, the offsets truncated toward zero.
    static QPoint IconOrigin(QSize client, QSize icon);

    // DialogServices, for finding the install directory: a directory chooser and a message box with
    // an OK button only and no icon, both modal and owned by this dialog.
    FolderChoice PromptForFolder(const std::string& title) override;
    void ShowMessage(const std::string& text, const std::string& caption) override;

    void accept() override;
    void reject() override;

protected:
    void OnInitDialog();
    void OnGo();
    void OnBrowse();
    void OnOnlyShowMissing();
    void OnAbout();
    void OnExit();
    void OnPaint();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void BuildFromTemplate();
    // Runs a command handler inside the error guard.
    void Command(void (CLintaraDlg::*handler)());

    std::string m_installDir;
    QCheckBox* m_missingOnly = nullptr;
    QTreeWidget* m_resultList = nullptr;
    QLineEdit* m_fileName = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_browse = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QIcon m_icon;
};
