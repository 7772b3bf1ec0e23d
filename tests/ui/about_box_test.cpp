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
    // The white ink lies exactly where that of the same text lies when drawn alone with its
    // top-right corner at (322, 131).
    QImage probe(200, 60, QImage::Format_RGB32);
    probe.fill(Qt::black);
    {
        QPainter painter(&probe);
        painter.setFont(box.font());
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 20, 150, height), Qt::AlignRight | Qt::AlignTop,
                         QString::fromLatin1(CAboutDlg::kVersionText));
    }
    QRect probeInk;
    for (int y = 0; y < probe.height(); ++y)
        for (int x = 0; x < probe.width(); ++x)
            if (isWhite(probe.pixel(x, y))) probeInk |= QRect(x, y, 1, 1);
    QCOMPARE(whites, probeInk.translated(322 - 150, 131 - 20));
    QVERIFY(whitePass.contains(whites));
    // The black pass is the same text 2 pixels right and 2 down: its right, top and bottom edges
    // show beside the white ones.
    QVERIFY(blackPass.contains(blacks));
    QCOMPARE(blacks.right(), whites.right() + 2);
    QCOMPARE(blacks.top(), whites.top() + 2);
    QCOMPARE(blacks.bottom(), whites.bottom() + 2);
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
    const auto driver = uitest::WhenModal<CAboutDlg>([key](CAboutDlg* open) {
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
    const auto driver = uitest::WhenModal<CAboutDlg>([&](CAboutDlg* open) {
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
