// The check: Go!, the missing-only check box, Browse, dropping a file, and errors that escape the
// reader, against the real dialog, packages written here and the corpus.
#include "lintara_dlg.h"
#include "analysis/dependency_extractor.h"
#include "analysis/package_locator.h"
#include "tests/analysis/failure_injection.h"
#include "tests/analysis/package_writer.h"
#include "tests/ui/ui_test_support.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <cerrno>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using lintara::fixtures::PackageWriter;

class CheckTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void goListsTheSetInOrder_data();
    void goListsTheSetInOrder();
    void goListsEveryOneOfManyDependencies();
    void goOnAnInputWithoutDependenciesEmptiesTheList_data();
    void goOnAnInputWithoutDependenciesEmptiesTheList();
    void editingTheBoxWithoutGoKeepsTheRows();
    void eachChangeOfTheCheckBoxQueuesOneCheck();
    void browseChosenFillsTheBoxAndChecks();
    void browseCancelledChangesNothing();
    void droppedFileFillsTheBoxAndChecks();
    void errorsEscapingTheReaderAreReportedAndTheRowsStay_data();
    void errorsEscapingTheReaderAreReportedAndTheRowsStay();

private:
    // Opens a dialog, shown, with the sandbox's install directory.
    std::unique_ptr<CLintaraDlg> OpenDialog() const;
    void RunCheck(CLintaraDlg& dialog, const QString& path) const;
    QString Fixture(const char* name) const;

    std::unique_ptr<uitest::Sandbox> sandbox_;
    fs::path install_;
};

namespace {

QLineEdit* FileNameBox(QWidget& dialog) { return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameBox")); }
QPushButton* GoButton(QWidget& dialog) { return dialog.findChild<QPushButton*>(QStringLiteral("goButton")); }
QPushButton* BrowseButton(QWidget& dialog) { return dialog.findChild<QPushButton*>(QStringLiteral("browseButton")); }
QCheckBox* MissingOnly(QWidget& dialog) { return dialog.findChild<QCheckBox*>(QStringLiteral("missingOnlyCheckBox")); }

QString Corpus(const char* relative) {
    return uitest::DisplayPath(fs::path(LINTARA_CORPUS_DIR) / relative);
}

const QStringList kMixedAll = {
    "core|System", "engine|System", "mytextures|Textures", "xgame|System", "zeta|Missing",
    QString::fromUtf8("\xC3\xA9" "clair|Missing"), // 0xC9 in the package, lower-cased to 0xE9: after z
};
const QStringList kMixedMissing = {"zeta|Missing", QString::fromUtf8("\xC3\xA9" "clair|Missing")};

} // namespace

void CheckTest::initTestCase() {
    sandbox_ = std::make_unique<uitest::Sandbox>();
    const auto& tree = sandbox_->Tree();
    install_ = uitest::MakeInstall(tree, "ut", {"System/Core.u", "System/Engine.u", "System/XGame.u",
                                                "Textures/MyTextures.utx", "Textures/EpicParticles.utx"});
    sandbox_->SetUserInstallDir(install_.string());

    // Imports in no particular order, in mixed case, one name twice and one in code page 1252.
    PackageWriter mixed;
    for (const char* name : {"XGame", "Engine", "Zeta", "CORE", "MyTextures", "engine", "\xC9" "clair"})
        mixed.AddPackageImport(name);
    mixed.WriteTo(tree / "Mixed.u");

    PackageWriter noImports;
    noImports.AddName("None");
    noImports.WriteTo(tree / "NoImports.u");
    tree.AddFile("Readme.txt", "not a package at all\n");

    // The header sends the reader to an offset it cannot seek to.
    PackageWriter unseekable;
    unseekable.AddPackageImport("Core");
    unseekable.nameOffset = 0x80000000u;
    unseekable.WriteTo(tree / "Unseekable.u");
}

void CheckTest::cleanupTestCase() { sandbox_.reset(); }

std::unique_ptr<CLintaraDlg> CheckTest::OpenDialog() const {
    auto dialog = std::make_unique<CLintaraDlg>();
    if (dialog->InstallDir() != install_.string()) qFatal("the dialog did not take the sandbox's install directory");
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog.get())) qFatal("the dialog did not show");
    return dialog;
}

void CheckTest::RunCheck(CLintaraDlg& dialog, const QString& path) const {
    FileNameBox(dialog)->setText(path);
    QTest::mouseClick(GoButton(dialog), Qt::LeftButton);
}

QString CheckTest::Fixture(const char* name) const { return uitest::DisplayPath(sandbox_->Tree() / name); }

void CheckTest::goListsTheSetInOrder_data() {
    QTest::addColumn<QString>("package");
    QTest::addColumn<bool>("missingOnly");
    QTest::addColumn<bool>("fromCorpus");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("fixture, all") << "Mixed.u" << false << false << kMixedAll;
    QTest::newRow("fixture, missing only") << "Mixed.u" << true << false << kMixedMissing;
    QTest::newRow("corpus script, all")
        << "100GPing100__ut2004-heal-link-gun/System/HealLinkGun.u" << false << true
        << QStringList{"core|System", "engine|System", "unrealgame|Missing", "xgame|System", "xweapons|Missing"};
    QTest::newRow("corpus script, missing only")
        << "100GPing100__ut2004-heal-link-gun/System/HealLinkGun.u" << true << true
        << QStringList{"unrealgame|Missing", "xweapons|Missing"};
    QTest::newRow("corpus map, all")
        << "GrantSorenson__LumpysInvasionServer-1.0/Maps/ParticleExamples.ut2" << false << true
        << QStringList{"aw-2004particles|Missing", "engine|System", "epicparticles|Textures", "onslaught|Missing"};
    QTest::newRow("corpus map, missing only")
        << "GrantSorenson__LumpysInvasionServer-1.0/Maps/ParticleExamples.ut2" << true << true
        << QStringList{"aw-2004particles|Missing", "onslaught|Missing"};
    QTest::newRow("corpus old sound package, missing only: all present")
        << "adrak0__ut99/Sounds/DMatch.uax" << true << true << QStringList{};
}

void CheckTest::goListsTheSetInOrder() {
    QFETCH(QString, package);
    QFETCH(bool, missingOnly);
    QFETCH(bool, fromCorpus);
    QFETCH(QStringList, rows);
    if (fromCorpus && !fs::exists(LINTARA_CORPUS_DIR))
        QSKIP("the corpus is not there: " LINTARA_CORPUS_DIR);

    auto dialog = OpenDialog();
    MissingOnly(*dialog)->setChecked(missingOnly); // set quietly: no check is queued
    RunCheck(*dialog, fromCorpus ? Corpus(package.toUtf8().constData()) : Fixture(package.toUtf8().constData()));
    QCOMPARE(uitest::Rows(dialog.get()), rows);
    // Nothing else is touched: no row selected, the columns as they were.
    auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("resultList"));
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(list->columnWidth(0), list->columnWidth(1));
}

void CheckTest::goListsEveryOneOfManyDependencies() {
    const fs::path package =
        fs::path(LINTARA_CORPUS_DIR) / "supersonic1999__UT2004-Command-And-Conquer/compiled/CommandAndConquer.u";
    if (!fs::exists(package)) QSKIP("the corpus is not there: " LINTARA_CORPUS_DIR);
    lintara::DependencySet set;
    lintara::CollectDependencies(package.string(), set);
    QVERIFY(set.size() >= 50);
    QStringList expected;
    for (const std::string& name : set)
        expected << QString::fromStdString(name + "|" + lintara::Locate(install_.string(), name));

    auto dialog = OpenDialog();
    RunCheck(*dialog, uitest::DisplayPath(package));
    QCOMPARE(uitest::Rows(dialog.get()), expected);
    QVERIFY(expected.contains("core|System"));
}

void CheckTest::goOnAnInputWithoutDependenciesEmptiesTheList_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("empty box") << "";
    QTest::newRow("no such file") << Fixture("Absent.u");
    QTest::newRow("a folder") << uitest::DisplayPath(install_);
    QTest::newRow("not a package") << Fixture("Readme.txt");
    QTest::newRow("a package without imports") << Fixture("NoImports.u");
    QTest::newRow("the path with a blank after it") << Fixture("Mixed.u") + " ";
}

void CheckTest::goOnAnInputWithoutDependenciesEmptiesTheList() {
    QFETCH(QString, path);
    auto dialog = OpenDialog();
    RunCheck(*dialog, Fixture("Mixed.u"));
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll);

    bool boxShown = false;
    const auto driver = uitest::WhenModal<QMessageBox>([&](QMessageBox* box) { boxShown = true; box->accept(); }, 300);
    RunCheck(*dialog, path);
    QTest::qWait(400);
    QCOMPARE(uitest::Rows(dialog.get()), QStringList{});
    QVERIFY2(!boxShown, "a message was shown");
    QCOMPARE(FileNameBox(*dialog)->text(), path); // the box keeps what was typed
}

void CheckTest::editingTheBoxWithoutGoKeepsTheRows() {
    auto dialog = OpenDialog();
    RunCheck(*dialog, Fixture("Mixed.u"));
    QTest::keyClicks(FileNameBox(*dialog), "something else");
    QTest::keyClick(FileNameBox(*dialog), Qt::Key_Backspace);
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll);
}

void CheckTest::eachChangeOfTheCheckBoxQueuesOneCheck() {
    const fs::path copy = sandbox_->Tree() / "Deleted.u";
    fs::copy_file(sandbox_->Tree() / "Mixed.u", copy, fs::copy_options::overwrite_existing);
    auto dialog = OpenDialog();
    RunCheck(*dialog, uitest::DisplayPath(copy));
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll);
    QSignalSpy goClicks(GoButton(*dialog), &QPushButton::clicked);

    // On: the box has its new state at once, and the check runs once the click is over.
    QTest::mouseClick(MissingOnly(*dialog), Qt::LeftButton);
    QVERIFY(MissingOnly(*dialog)->isChecked());
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll);
    QCOMPARE(goClicks.count(), 0);
    QTRY_COMPARE(goClicks.count(), 1);
    QCOMPARE(uitest::Rows(dialog.get()), kMixedMissing);

    // Off again, by keyboard, with the package gone in between: the check reads it again.
    fs::remove(copy);
    MissingOnly(*dialog)->setFocus();
    QTest::keyClick(MissingOnly(*dialog), Qt::Key_Space);
    QVERIFY(!MissingOnly(*dialog)->isChecked());
    QTRY_COMPARE(goClicks.count(), 2);
    QCOMPARE(uitest::Rows(dialog.get()), QStringList{});
    QTest::qWait(100);
    QCOMPARE(goClicks.count(), 2); // one check per change
}

void CheckTest::browseChosenFillsTheBoxAndChecks() {
    auto dialog = OpenDialog();
    FileNameBox(*dialog)->setText("typed before");
    QStringList filters;
    QString selectedFilter;
    bool existingOnly = false;
    QWidget* owner = nullptr;
    const QString chosen = Fixture("Mixed.u");
    const auto driver = uitest::WhenModal<QFileDialog>([&](QFileDialog* chooser) {
        filters = chooser->nameFilters();
        selectedFilter = chooser->selectedNameFilter();
        existingOnly = chooser->fileMode() == QFileDialog::ExistingFile &&
                       chooser->acceptMode() == QFileDialog::AcceptOpen;
        owner = chooser->parentWidget();
        chooser->selectFile(chosen);
        static_cast<QDialog*>(chooser)->accept(); // as the Open button does
    });
    QTest::mouseClick(BrowseButton(*dialog), Qt::LeftButton);

    const QStringList expectedFilters = {
        "Maps (*.ut2)", "Textures (*.utx)", "System (*.u)", "Sounds (*.uax)",
        "Static Meshes (*.usx)", "Animations (*.ukx)", "Cache (*.uxx)", "All Files (*.*)"};
    QCOMPARE(filters, expectedFilters);
    QCOMPARE(selectedFilter, expectedFilters.first());
    QVERIFY(existingOnly);
    QCOMPARE(owner, dialog.get());
    QCOMPARE(FileNameBox(*dialog)->text(), chosen);
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll); // checked at once, no click of Go! needed
}

void CheckTest::browseCancelledChangesNothing() {
    auto dialog = OpenDialog();
    RunCheck(*dialog, Fixture("Mixed.u"));
    FileNameBox(*dialog)->setText("not a file");
    bool opened = false;
    const auto driver = uitest::WhenModal<QFileDialog>([&](QFileDialog* chooser) {
        opened = true;
        chooser->selectFile(Fixture("NoImports.u"));
        chooser->reject();
    });
    QTest::mouseClick(BrowseButton(*dialog), Qt::LeftButton);
    QVERIFY(opened);
    QCOMPARE(FileNameBox(*dialog)->text(), QStringLiteral("not a file"));
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll);
}

void CheckTest::droppedFileFillsTheBoxAndChecks() {
    auto dialog = OpenDialog();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString((sandbox_->Tree() / "Mixed.u").string()))});
    const QPoint at = dialog->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(FileNameBox(*dialog)->text(), Fixture("Mixed.u"));
    QTRY_COMPARE(uitest::Rows(dialog.get()), kMixedAll);

    // Data without a local file is refused.
    QMimeData text;
    text.setText("Mixed.u");
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dialog.get(), &refused);
    QVERIFY(!refused.isAccepted());
}

void CheckTest::errorsEscapingTheReaderAreReportedAndTheRowsStay_data() {
    QTest::addColumn<QString>("package");
    QTest::addColumn<bool>("failReads");
    QTest::addColumn<QString>("text");
    QTest::newRow("offset that cannot be sought") << "Unseekable.u" << false << "Seek failed on an unnamed file.";
    QTest::newRow("read error") << "NoImports.u" << true << "Input/output error while reading an unnamed file.";
}

void CheckTest::errorsEscapingTheReaderAreReportedAndTheRowsStay() {
    QFETCH(QString, package);
    QFETCH(bool, failReads);
    QFETCH(QString, text);
    auto dialog = OpenDialog();
    RunCheck(*dialog, Fixture("Mixed.u"));
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll);

    const fs::path path = sandbox_->Tree() / package.toStdString();
    std::unique_ptr<lintara::fixtures::ReadFailure> failure;
    if (failReads) failure = std::make_unique<lintara::fixtures::ReadFailure>(path.string(), EIO);
    struct {
        bool shown = false;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QWidget* owner = nullptr;
    } seen;
    const auto driver = uitest::WhenModal<QMessageBox>([&](QMessageBox* box) {
        seen = {true, box->windowTitle(), box->text(), box->icon(), box->parentWidget()};
        box->accept();
    });
    RunCheck(*dialog, uitest::DisplayPath(path));
    failure.reset();

    QVERIFY2(seen.shown, "no error box");
    QCOMPARE(seen.title, QStringLiteral("ui_check_tests"));
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.owner, dialog.get());
    QCOMPARE(uitest::Rows(dialog.get()), kMixedAll); // the previous check's rows
    // The dialog goes on: the next check works.
    RunCheck(*dialog, Fixture("NoImports.u"));
    QCOMPARE(uitest::Rows(dialog.get()), QStringList{});
    QVERIFY(dialog->isVisible());
}

QTEST_MAIN(CheckTest)
#include "check_test.moc"
