// Finding the install directory while the dialog initialises, through the dialog's real folder
// prompt and message boxes, with this machine's settings layer pointed at a sandbox.
#include "lintara_dlg.h"
#include "settings/install_dir_settings.h"
#include "tests/analysis/package_writer.h"
#include "tests/ui/ui_test_support.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void userKeyIsTakenWithoutPrompt();
    void settingsFileIsTakenAndNotCopied();
    void gameKeyIsTakenAndSaved();
    void defaultPlaceIsTakenAndSaved();
    void folderChosenInThePromptIsTakenAndSaved();
    void promptCancelledStillOpensTheDialog();
    void choiceThatCannotBeSavedIsReported();

private:
    // The folder prompt that opens during initialisation, as the test saw it.
    struct Prompt {
        bool shown = false;
        QString title;
        bool foldersOnly = false;
        bool ownerIsTheHiddenDialog = false;
    };
    // Answers the next folder prompt with the folder, or cancels it when the folder is empty.
    // Each lasts as long as the timer it returns.
    [[nodiscard]] static std::unique_ptr<QTimer> AnswerPrompt(Prompt& seen, const fs::path& folder);
    [[nodiscard]] static std::unique_ptr<QTimer> ExpectNoBox(bool& shown);

    std::unique_ptr<uitest::Sandbox> sandbox_;
    fs::path install_;
};

void StartupTest::initTestCase() {
    // The second default place is outside any sandbox; the prompt cases need it absent.
    if (fs::exists("/usr/local/games/ut2004"))
        QSKIP("/usr/local/games/ut2004 exists on this machine, so no start-up reaches the folder prompt");
}

void StartupTest::init() {
    sandbox_ = std::make_unique<uitest::Sandbox>();
    install_ = uitest::MakeInstall(sandbox_->Tree(), "games/UT2004", {"System/Core.u"});
}

void StartupTest::cleanup() { sandbox_.reset(); }

std::unique_ptr<QTimer> StartupTest::AnswerPrompt(Prompt& seen, const fs::path& folder) {
    return uitest::WhenModal<QFileDialog>([&seen, folder](QFileDialog* chooser) {
        auto* owner = qobject_cast<CLintaraDlg*>(chooser->parentWidget());
        seen = {true, chooser->windowTitle(),
                chooser->fileMode() == QFileDialog::Directory && chooser->testOption(QFileDialog::ShowDirsOnly),
                owner && !owner->isVisible()};
        if (folder.empty()) {
            chooser->reject();
        } else {
            chooser->selectFile(uitest::DisplayPath(folder));
            static_cast<QDialog*>(chooser)->accept(); // as the Choose button does
        }
    });
}

std::unique_ptr<QTimer> StartupTest::ExpectNoBox(bool& shown) {
    return uitest::WhenModal<QDialog>([&shown](QDialog* box) {
        shown = true;
        box->reject();
    }, 300);
}

void StartupTest::userKeyIsTakenWithoutPrompt() {
    // Taken as it stands: a folder that does not exist is not checked.
    sandbox_->SetUserInstallDir("/no/such/folder");
    sandbox_->SetGameInstallDir(install_.string());
    bool boxShown = false;
    const auto noBox = ExpectNoBox(boxShown);
    CLintaraDlg dialog;
    QTest::qWait(400);
    QVERIFY(!boxShown);
    QCOMPARE(dialog.InstallDir(), std::string("/no/such/folder"));
    QCOMPARE(sandbox_->UserInstallDir(), std::optional<std::string>("/no/such/folder"));
}

void StartupTest::settingsFileIsTakenAndNotCopied() {
    std::ofstream(sandbox_->WorkDir() / lintara::kSettingsFileName, std::ios::binary)
        << "other=1\r\nut_dir=" << install_.string() << "\r\n";
    bool boxShown = false;
    const auto noBox = ExpectNoBox(boxShown);
    CLintaraDlg dialog;
    QTest::qWait(400);
    QVERIFY(!boxShown);
    QCOMPARE(dialog.InstallDir(), install_.string());
    QCOMPARE(sandbox_->UserInstallDir(), std::nullopt);
}

void StartupTest::gameKeyIsTakenAndSaved() {
    sandbox_->SetGameInstallDir(install_.string());
    bool boxShown = false;
    const auto noBox = ExpectNoBox(boxShown);
    CLintaraDlg dialog;
    QTest::qWait(400);
    QVERIFY(!boxShown);
    QCOMPARE(dialog.InstallDir(), install_.string());
    QCOMPARE(sandbox_->UserInstallDir(), std::optional<std::string>(install_.string()));
    QVERIFY(!fs::exists(sandbox_->WorkDir() / lintara::kSettingsFileName));
}

void StartupTest::defaultPlaceIsTakenAndSaved() {
    const fs::path place = sandbox_->Tree().AddInstall("home/.local/share/OldUnreal/UT2004");
    bool boxShown = false;
    const auto noBox = ExpectNoBox(boxShown);
    CLintaraDlg dialog;
    QTest::qWait(400);
    QVERIFY(!boxShown);
    QCOMPARE(dialog.InstallDir(), place.string());
    QCOMPARE(sandbox_->UserInstallDir(), std::optional<std::string>(place.string()));
}

void StartupTest::folderChosenInThePromptIsTakenAndSaved() {
    Prompt prompt;
    const auto answer = AnswerPrompt(prompt, install_);
    CLintaraDlg dialog;
    QVERIFY2(prompt.shown, "no folder prompt");
    QCOMPARE(prompt.title, QStringLiteral("Please select your UT2004 install directory"));
    QVERIFY(prompt.foldersOnly);
    QVERIFY2(prompt.ownerIsTheHiddenDialog, "the prompt is not owned by the dialog, or came after it was shown");
    QCOMPARE(dialog.InstallDir(), install_.string());
    QCOMPARE(sandbox_->UserInstallDir(), std::optional<std::string>(install_.string()));

    // The check uses it.
    lintara::fixtures::PackageWriter package;
    package.AddPackageImport("Core");
    package.AddPackageImport("Gone");
    const fs::path path = package.WriteTo(sandbox_->Tree() / "Uses.u");
    dialog.show();
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameBox"))->setText(uitest::DisplayPath(path));
    dialog.findChild<QPushButton*>(QStringLiteral("goButton"))->click();
    QCOMPARE(uitest::Rows(&dialog), (QStringList{"core|System", "gone|Missing"}));
}

void StartupTest::promptCancelledStillOpensTheDialog() {
    Prompt prompt;
    const auto answer = AnswerPrompt(prompt, {});
    bool messageShown = false;
    const auto driver = uitest::WhenModal<QMessageBox>([&](QMessageBox* box) { messageShown = true; box->accept(); }, 1500);
    CLintaraDlg dialog;
    QTest::qWait(300);
    QVERIFY(prompt.shown);
    QVERIFY2(!messageShown, "a message followed the cancelled prompt");
    QCOMPARE(dialog.InstallDir(), std::string());
    QCOMPARE(sandbox_->UserInstallDir(), std::nullopt);
    QVERIFY(!fs::exists(sandbox_->WorkDir() / lintara::kSettingsFileName));

    // It opens with its columns and every command works; every name is missing.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.findChild<QTreeWidget*>(QStringLiteral("resultList"))->columnCount(), 2);
    lintara::fixtures::PackageWriter package;
    package.AddPackageImport("Core");
    const fs::path path = package.WriteTo(sandbox_->Tree() / "Uses.u");
    dialog.findChild<QLineEdit*>(QStringLiteral("fileNameBox"))->setText(uitest::DisplayPath(path));
    dialog.findChild<QPushButton*>(QStringLiteral("goButton"))->click();
    QCOMPARE(uitest::Rows(&dialog), QStringList{"core|Missing"});
}

void StartupTest::choiceThatCannotBeSavedIsReported() {
    sandbox_->BreakUserRoot();
    fs::create_directory(sandbox_->WorkDir() / lintara::kSettingsFileName); // no file can take its place
    Prompt prompt;
    const auto answer = AnswerPrompt(prompt, install_);
    struct {
        bool shown = false;
        QString text, caption;
        QMessageBox::Icon icon = QMessageBox::Critical;
        int buttons = 0;
        bool ownerIsTheHiddenDialog = false;
    } message;
    const auto driver = uitest::WhenModal<QMessageBox>([&](QMessageBox* box) {
        auto* owner = qobject_cast<CLintaraDlg*>(box->parentWidget());
        message = {true, box->text(), box->windowTitle(), box->icon(), int(box->standardButtons()),
                   owner && !owner->isVisible()};
        box->accept();
    });
    CLintaraDlg dialog;
    QVERIFY(prompt.shown);
    QVERIFY2(message.shown, "no message box");
    QCOMPARE(message.caption, QString::fromLatin1(lintara::kCannotSaveCaption));
    QCOMPARE(message.caption, QStringLiteral("Cannot Save Settings"));
    QCOMPARE(message.text, QString::fromLatin1(lintara::kCannotSaveText));
    QCOMPARE(message.icon, QMessageBox::NoIcon);
    QCOMPARE(message.buttons, int(QMessageBox::Ok));
    QVERIFY(message.ownerIsTheHiddenDialog);
    // The directory serves this run all the same.
    QCOMPARE(dialog.InstallDir(), install_.string());
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
