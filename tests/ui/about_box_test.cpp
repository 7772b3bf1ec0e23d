// The about box: its size, its picture and version text, where it opens and how it ends.
#include "about_dlg.h"
#include "tests/ui/ui_test_support.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QtEndian>
#include <QtTest>

class AboutBoxTest : public QObject {
    Q_OBJECT

private slots:
    void thePictureIs24BitUncompressedBmp();
    void clientAreaIsExactlyThePicture();
    void openingTwiceGivesTheSameBox();
    void versionTextIsWhiteOverABlackShadowAtTheGivenCorners();
    void endsWithTheKeys_data();
    void endsWithTheKeys();
    void isCentredOverItsOwnerOrOnTheScreen_data();
    void isCentredOverItsOwnerOrOnTheScreen();
};

void AboutBoxTest::thePictureIs24BitUncompressedBmp() {
    QFile file(QStringLiteral(":/lintara/about.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() >= 54);
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    const auto i32 = [&](int at) { return qFromLittleEndian<qint32>(bytes.constData() + at); };
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(i32(18), 332);  // width
    QCOMPARE(i32(22), 263);  // height, positive: rows bottom-up
    QCOMPARE(u16(28), quint16(24)); // bits per pixel
    QCOMPARE(i32(30), 0);    // no compression
    QCOMPARE(i32(46), 0);    // no colour table
    QCOMPARE(bytes.size(), 54 + 332 * 3 * 263); // rows of 996 bytes need no padding
}

void AboutBoxTest::clientAreaIsExactlyThePicture() {
    CAboutDlg box;
    QCOMPARE(box.windowTitle(), QStringLiteral("About Lintara!"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.size(), QSize(332, 263));
    QCOMPARE(box.rect(), QRect(0, 0, 332, 263));
    QCOMPARE(box.minimumSize(), box.maximumSize()); // fixed size
    QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void AboutBoxTest::openingTwiceGivesTheSameBox() {
    QImage first;
    {
        CAboutDlg box;
        first = box.grab().toImage();
    }
    CAboutDlg box;
    const QImage second = box.grab().toImage();
    QCOMPARE(first.size(), QSize(332, 263));
    QCOMPARE(second, first);
}

// Where the worked example puts the passes for a client area of 332 x 263: y0 = 263 / 2 = 131;
// the black pass has its top-right corner at (324, 133), the white one at (322, 131).
void AboutBoxTest::versionTextIsWhiteOverABlackShadowAtTheGivenCorners() {
    CAboutDlg box;
    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = QImage(QStringLiteral(":/lintara/about.bmp")).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(332, 263));
    QCOMPARE(shown.size(), picture.size());

    const QFontMetrics metrics(box.font());
    const int width = metrics.horizontalAdvance(QString::fromLatin1(CAboutDlg::kVersionText));
    const int height = metrics.height();
    // Smoothing may colour one pixel left of where the text's advance begins.
    const QRect whitePass(322 - width - 1, 131, width + 1, height);
    const QRect blackPass(324 - width - 1, 133, width + 1, height);

    const auto isWhite = [](QRgb c) { return qRed(c) >= 0xF0 && qGreen(c) >= 0xF0 && qBlue(c) >= 0xF0; };
    const auto isBlack = [](QRgb c) { return qRed(c) <= 0x10 && qGreen(c) <= 0x10 && qBlue(c) <= 0x10; };
    QRect whites, blacks;
    int changed = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb c = shown.pixel(x, y);
            if (c == picture.pixel(x, y)) continue;
            ++changed;
            QVERIFY2(whitePass.united(blackPass).contains(x, y),
                     qPrintable(QStringLiteral("changed pixel outside the text at %1,%2").arg(x).arg(y)));
            if (isWhite(c)) whites |= QRect(x, y, 1, 1);
            if (isBlack(c)) blacks |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(changed > 0);
    QVERIFY2(!whites.isEmpty(), "no white text");
    QVERIFY2(!blacks.isEmpty(), "no black shadow");
    // The white pass ends just left of x = 322 and starts at y = 131 or below.
    QVERIFY(whitePass.contains(whites));
    QVERIFY2(whites.right() >= 322 - 4, qPrintable(QString::number(whites.right())));
    // The black pass lies 2 pixels further right and down.
    QVERIFY(blackPass.contains(blacks));
    QVERIFY2(blacks.right() > whites.right(), qPrintable(QString::number(blacks.right())));
    QVERIFY2(blacks.bottom() > whites.bottom(), qPrintable(QString::number(blacks.bottom())));
    // Nothing of either pass reaches its corner point's column or lies above its row.
    QVERIFY(whites.right() <= 321 && whites.top() >= 131);
    QVERIFY(blacks.right() <= 323 && blacks.top() >= 133);
}

void AboutBoxTest::endsWithTheKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("code");
    QTest::newRow("Enter") << int(Qt::Key_Return) << CAboutDlg::kOk;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << CAboutDlg::kOk;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << CAboutDlg::kCancel;
    QTest::newRow("close box") << 0 << CAboutDlg::kCancel;
}

void AboutBoxTest::endsWithTheKeys() {
    QFETCH(int, key);
    QFETCH(int, code);
    CAboutDlg box;
    uitest::WhenModal<CAboutDlg>([key](CAboutDlg* open) {
        if (key == 0)
            open->close();
        else
            QTest::keyClick(open, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    });
    QCOMPARE(box.exec(), code);
    QVERIFY(!box.isVisible());
}

void AboutBoxTest::isCentredOverItsOwnerOrOnTheScreen_data() {
    QTest::addColumn<QString>("owner");
    QTest::newRow("owner visible") << "visible";
    QTest::newRow("owner hidden") << "hidden";
    QTest::newRow("owner minimised") << "minimised";
    QTest::newRow("no owner") << "none";
}

void AboutBoxTest::isCentredOverItsOwnerOrOnTheScreen() {
    QFETCH(QString, owner);
    QWidget window;
    window.setGeometry(40, 30, 420, 320);
    if (owner == "visible") {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    } else if (owner == "minimised") {
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());
    }
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    const QPoint expected = owner == "visible" ? window.frameGeometry().center() : screenCentre;
    QVERIFY(window.frameGeometry().center() != screenCentre); // the two cases differ

    CAboutDlg box(owner == "none" ? nullptr : &window);
    QPoint centre;
    uitest::WhenModal<CAboutDlg>([&](CAboutDlg* open) {
        centre = open->frameGeometry().center();
        open->accept();
    });
    box.exec();
    QVERIFY2((centre - expected).manhattanLength() <= 1,
             qPrintable(QStringLiteral("centre %1,%2, expected %3,%4")
                            .arg(centre.x()).arg(centre.y()).arg(expected.x()).arg(expected.y())));
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(box.frameGeometry()));
}

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
