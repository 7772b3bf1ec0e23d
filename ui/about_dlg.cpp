#include "about_dlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

CAboutDlg::CAboutDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_picture(QStringLiteral(":/lintara/about.bmp")) {
    setWindowTitle(QStringLiteral("About Lintara!"));
    OnInitDialog();
}

void CAboutDlg::OnInitDialog() {
    // In Qt the widget's geometry is its client area, so the picture's size is the box's size
    // whatever frame the window manager draws around it.
    setFixedSize(m_picture.size());

    // Centre the window, frame included, over the owner while it can be seen, otherwise on the
    // screen; keep it inside the work area either way.
    create();
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const bool overOwner = owner && owner->isVisible() && !owner->isMinimized();
    QScreen* screen = overOwner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect workArea = screen ? screen->availableGeometry() : QRect();
    QRect frame = frameGeometry();
    frame.moveCenter(overOwner ? owner->frameGeometry().center() : workArea.center());
    if (workArea.isValid()) {
        frame.moveRight(qMin(frame.right(), workArea.right()));
        frame.moveBottom(qMin(frame.bottom(), workArea.bottom()));
        frame.moveLeft(qMax(frame.left(), workArea.left()));
        frame.moveTop(qMax(frame.top(), workArea.top()));
    }
    move(frame.topLeft());
}

void CAboutDlg::OnPaint() {
    const QRect client = rect();
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);

    // The point given for each pass is the top-right corner of the text. The text keeps to the
    // client rectangle.
    painter.setClipRect(client);
    const QString text = QString::fromLatin1(kVersionText);
    const int height = painter.fontMetrics().height();
    const int y0 = client.top() + m_picture.height() / 2;
    const auto drawAt = [&](int right, int top, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(QRect(client.left(), top, right - client.left(), height),
                         Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
    };
    drawAt(client.right() + 1 - 8, y0 + 2, Qt::black);
    drawAt(client.right() + 1 - 10, y0, Qt::white);
}

void CAboutDlg::paintEvent(QPaintEvent*) { OnPaint(); }

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CAboutDlg::accept() { done(kOk); }

void CAboutDlg::reject() { done(kCancel); }
