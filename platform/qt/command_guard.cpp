#include "platform/qt/command_guard.h"

#include "platform/file_error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QString>

#include <new>

namespace lintara {

namespace {

// The framework names the application, and so its error box, after the executable file.
QString ApplicationTitle() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

void ShowErrorBox(QWidget* owner, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, ApplicationTitle(), text, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

QString ErrorText(const FileError& error) {
    if (error.operation() == FileError::Operation::Seek)
        return QStringLiteral("Seek failed on an unnamed file.");
    return QString::fromLocal8Bit(error.osMessage()) + QStringLiteral(" while reading an unnamed file.");
}

} // namespace

void RunCommand(QWidget* owner, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const FileError& error) {
        ShowErrorBox(owner, QMessageBox::Critical, ErrorText(error));
    } catch (const std::bad_alloc&) {
        ShowErrorBox(owner, QMessageBox::Warning, QStringLiteral("Out of memory."));
    }
}

} // namespace lintara
