#pragma once

#include <QDialog>
#include <QPixmap>

// The about box: the about picture over the whole client area, with the version text drawn onto
// it in white over a black shadow. It has no controls; Enter ends it as OK, Escape and the close
// box as Cancel.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr const char* kVersionText = "Version: 1.0.01";

    // The picture is loaded here, so each box loads it anew. The owner is the window the box is
    // centred over while that window is visible and not minimised.
    explicit CAboutDlg(QWidget* owner = nullptr);

    void accept() override;
    void reject() override;

protected:
    // Sizes the client area to the picture and centres the box.
    void OnInitDialog();
    void OnPaint();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPixmap m_picture;
};
