#include "lintara_dlg.h"

#include "about_dlg.h"
#include "dialog_units.h"

#include "analysis/dependency_extractor.h"
#include "analysis/package_locator.h"
#include "platform/code_page.h"
#include "platform/qt/command_guard.h"
#include "settings/load_install_dir.h"

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#define NOMINMAX
#include <windows.h>
#endif

namespace {

// Dialog template 102, in dialog units: the client area and its controls in tab order.
constexpr QSize kTemplateSize(320, 200);
constexpr QRect kResultListRect(7, 61, 248, 122);
constexpr QRect kFileNameRect(7, 16, 248, 12);
constexpr QRect kFileNameLabelRect(7, 7, 31, 8);
constexpr QRect kResultLabelRect(7, 51, 49, 8);
constexpr QRect kBrowseRect(263, 16, 50, 12);
constexpr QRect kGoRect(263, 60, 50, 14);
constexpr QRect kMissingOnlyRect(7, 31, 112, 10);

// The template's font; where it is not installed, the platform's sans-serif font of that size.
QFont TemplateFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {48, 32, 16})
        icon.addFile(QStringLiteral(":/lintara/lintara-%1.png").arg(size), QSize(size, size));
    return icon;
}

// The open-file chooser's filters, in order; the first is selected when it opens.
QStringList PackageFilters() {
    return {
        QStringLiteral("Maps (*.ut2)"),        QStringLiteral("Textures (*.utx)"),
        QStringLiteral("System (*.u)"),        QStringLiteral("Sounds (*.uax)"),
        QStringLiteral("Static Meshes (*.usx)"), QStringLiteral("Animations (*.ukx)"),
        QStringLiteral("Cache (*.uxx)"),       QStringLiteral("All Files (*.*)"),
    };
}

// A path as the package reader and the file functions take it.
std::string ToFileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The first local file among dropped data, with the platform's separators; empty when none.
QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return QDir::toNativeSeparators(url.toLocalFile());
    return {};
}

// Inserts a row with the name in column 0 at the position, or at the end when the position lies
// beyond it, and returns the index the row got.
int InsertRow(QTreeWidget* list, int position, const QString& name) {
    auto* item = new QTreeWidgetItem(QStringList{name});
    list->insertTopLevelItem(qBound(0, position, list->topLevelItemCount()), item);
    return list->indexOfTopLevelItem(item);
}

} // namespace

CLintaraDlg::CLintaraDlg(QWidget* parent)
    // A window of its own rather than a dialog type, so that it gets its own task-bar entry;
    // fixed size, with a title bar, a system menu and a close box only.
    : QDialog(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_icon(ApplicationIcon()) {
    BuildFromTemplate();
    OnInitDialog();
}

void CLintaraDlg::BuildFromTemplate() {
    setWindowTitle(QStringLiteral("Lintara"));
    setAcceptDrops(true);

    m_menuBar = new QMenuBar(this);
    QMenu* fileMenu = m_menuBar->addMenu(QStringLiteral("&File"));
    QAction* exitCommand = fileMenu->addAction(QStringLiteral("E&xit"));
    exitCommand->setObjectName(QStringLiteral("exitCommand"));
    exitCommand->setStatusTip(QStringLiteral("Exits the program"));
    connect(exitCommand, &QAction::triggered, this, [this] { Command(&CLintaraDlg::OnExit); });
    QMenu* helpMenu = m_menuBar->addMenu(QStringLiteral("&Help"));
    QAction* aboutCommand = helpMenu->addAction(QStringLiteral("&About..."));
    aboutCommand->setObjectName(QStringLiteral("aboutCommand"));
    aboutCommand->setStatusTip(QStringLiteral("Displays the About Dialog"));
    connect(aboutCommand, &QAction::triggered, this, [this] { Command(&CLintaraDlg::OnAbout); });

    // The client area below the menu bar, laid out in the template font's dialog units.
    auto* client = new QWidget(this);
    client->setFont(TemplateFont());
    const DialogUnits units(client->fontMetrics());
    client->setFixedSize(units.ToPixelsX(kTemplateSize.width()), units.ToPixelsY(kTemplateSize.height()));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menuBar);
    layout->addWidget(client);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->activate(); // the window has its fixed size from now on, before it is first shown

    // Created in template order, which is the tab order.
    m_resultList = new QTreeWidget(client);
    m_resultList->setObjectName(QStringLiteral("resultList"));
    m_resultList->setGeometry(units.ToPixels(kResultListRect));
    m_resultList->setRootIsDecorated(false);
    m_resultList->setItemsExpandable(false);
    m_resultList->setUniformRowHeights(true);
    m_resultList->setSortingEnabled(false);
    m_resultList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_resultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_resultList->header()->setSectionsClickable(false);
    m_resultList->header()->setSectionsMovable(false);
    m_resultList->header()->setStretchLastSection(false);
    m_resultList->setColumnCount(0);

    m_fileName = new QLineEdit(client);
    m_fileName->setObjectName(QStringLiteral("fileNameBox"));
    m_fileName->setGeometry(units.ToPixels(kFileNameRect));
    m_fileName->setAcceptDrops(false); // a dropped file goes to the dialog, which runs the check

    auto* fileNameLabel = new QLabel(QStringLiteral("Filename:"), client);
    fileNameLabel->setGeometry(units.ToPixels(kFileNameLabelRect));
    auto* resultLabel = new QLabel(QStringLiteral("Dependancies:"), client);
    resultLabel->setGeometry(units.ToPixels(kResultLabelRect));

    m_browse = new QPushButton(QStringLiteral("Browse"), client);
    m_browse->setObjectName(QStringLiteral("browseButton"));
    m_browse->setGeometry(units.ToPixels(kBrowseRect));
    m_go = new QPushButton(QStringLiteral("Go!"), client);
    m_go->setObjectName(QStringLiteral("goButton"));
    m_go->setGeometry(units.ToPixels(kGoRect));
    for (QPushButton* button : {m_browse, m_go}) {
        // No push button is a default button: Enter elsewhere ends the dialog as OK.
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    m_missingOnly = new QCheckBox(QStringLiteral("Only Show Missing Packages"), client);
    m_missingOnly->setObjectName(QStringLiteral("missingOnlyCheckBox"));
    m_missingOnly->setGeometry(units.ToPixels(kMissingOnlyRect));

    connect(m_browse, &QPushButton::clicked, this, [this] { Command(&CLintaraDlg::OnBrowse); });
    connect(m_go, &QPushButton::clicked, this, [this] { Command(&CLintaraDlg::OnGo); });
    connect(m_missingOnly, &QCheckBox::clicked, this, [this] { Command(&CLintaraDlg::OnOnlyShowMissing); });
}

void CLintaraDlg::Command(void (CLintaraDlg::*handler)()) {
    lintara::RunCommand(this, [this, handler] { (this->*handler)(); });
}

void CLintaraDlg::OnInitDialog() {
    // The about item of the system menu, where the platform has one; elsewhere the Help menu
    // alone opens the about box.
#ifdef Q_OS_WIN
    if (HMENU systemMenu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE)) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, kIdmAboutBox, kAboutMenuText);
    }
#endif

    setWindowIcon(m_icon);

    // Its result makes no difference: the dialog opens with whatever the install directory holds.
    lintara::LoadInstallDirOnThisMachine(m_installDir, *this);

    // Two columns of half the list's client width each.
    m_resultList->ensurePolished();
    const int columnWidth = m_resultList->contentsRect().width() / 2;
    m_resultList->setColumnCount(2);
    m_resultList->setHeaderLabels({QStringLiteral("FileName"), QStringLiteral("Status")});
    m_resultList->setColumnWidth(0, columnWidth);
    m_resultList->setColumnWidth(1, columnWidth);

    // The focus starts in the first control of the tab order.
    m_resultList->setFocus();
}

void CLintaraDlg::OnGo() {
    const std::string fileName = ToFileName(m_fileName->text());
    lintara::DependencySet dependencies;
    lintara::CollectDependencies(fileName, dependencies);

    // Only now that reading is over: an error above leaves the previous rows in place.
    m_resultList->clear();
    const bool missingOnly = m_missingOnly->checkState() == Qt::Checked;
    int position = 0;
    for (const std::string& name : dependencies) {
        const std::string status = lintara::Locate(m_installDir, name);
        if (!missingOnly || status == lintara::kMissing) {
            const int index = InsertRow(m_resultList, position, QString::fromStdString(lintara::AnsiToUtf8(name)));
            if (index >= 0) m_resultList->topLevelItem(index)->setText(1, QString::fromStdString(status));
        }
        ++position;
    }
}

void CLintaraDlg::OnBrowse() {
    QFileDialog chooser(this);
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = PackageFilters();
    chooser.setNameFilters(filters);
    chooser.selectNameFilter(filters.first());
    if (chooser.exec() != QDialog::Accepted) return;
    const QStringList chosen = chooser.selectedFiles();
    if (chosen.isEmpty()) return;
    m_fileName->setText(QDir::toNativeSeparators(chosen.first()));
    OnGo();
}

void CLintaraDlg::OnOnlyShowMissing() {
    // The check box has its new state already; the check runs once this notification is over.
    QMetaObject::invokeMethod(m_go, &QPushButton::click, Qt::QueuedConnection);
}

void CLintaraDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CLintaraDlg::OnExit() { done(kExit); }

bool CLintaraDlg::OnSysCommand(unsigned commandId) {
    if (((commandId & 0xFFFFu) & 0xFFF0u) != kIdmAboutBox) return false;
    CAboutDlg about(this);
    about.exec();
    return true;
}

QPoint CLintaraDlg::IconOrigin(QSize client, QSize icon) {
    // C++ division truncates toward zero, as the formula wants for a client smaller than the icon.
    return QPoint((client.width() - icon.width() + 1) / 2, (client.height() - icon.height() + 1) / 2);
}

void CLintaraDlg::OnPaint() {
    if (!isMinimized()) return; // the dialog's own painting
    QPainter painter(this);
    const int extent = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const QSize iconSize(extent, extent);
    m_icon.paint(&painter, QRect(IconOrigin(size(), iconSize), iconSize));
}

void CLintaraDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    OnPaint();
}

void CLintaraDlg::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        // Enter presses a focused push button; anywhere else it is OK.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget()))
            button->click();
        else
            accept();
        return;
    }
    QDialog::keyPressEvent(event); // Escape: Cancel
}

void CLintaraDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CLintaraDlg::dropEvent(QDropEvent* event) {
    const QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    m_fileName->setText(path);
    // As a click of Go!, once the drop is over, so that no box opens inside the drop.
    QMetaObject::invokeMethod(m_go, &QPushButton::click, Qt::QueuedConnection);
}

void CLintaraDlg::accept() { done(kOk); }

void CLintaraDlg::reject() { done(kCancel); }

lintara::DialogServices::FolderChoice CLintaraDlg::PromptForFolder(const std::string& title) {
    QFileDialog chooser(this, QString::fromStdString(title));
    chooser.setAcceptMode(QFileDialog::AcceptOpen);
    chooser.setFileMode(QFileDialog::Directory);
    chooser.setOption(QFileDialog::ShowDirsOnly);
    FolderChoice choice;
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        choice.result = FolderChoice::Result::Cancelled;
        return choice;
    }
    choice.result = FolderChoice::Result::Chosen;
    choice.path = ToFileName(QDir::toNativeSeparators(chooser.selectedFiles().first()));
    return choice;
}

void CLintaraDlg::ShowMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Ok, this);
    box.exec();
}

#ifdef Q_OS_WIN
bool CLintaraDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND) {
        bool handled = false;
        lintara::RunCommand(this, [&] { handled = OnSysCommand(static_cast<unsigned>(msg->wParam)); });
        if (handled) {
            *result = 0;
            return true;
        }
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#endif
