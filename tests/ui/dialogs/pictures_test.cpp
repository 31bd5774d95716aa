// The pictures in the windows: decoded when their window is first shown, and a picture
// that cannot be decoded leaves the window's background showing, with the window working.
#include <QtTest>

#include "assets/assets.h"
#include "dialog_fixture.h"
#include "ui/dialogs/picture_box.h"
#include "ui/dialogs/tform4.h"
#include "ui/platform/fonts.h"

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { platform::installFontSubstitutes(); }

    void picturesAreDecodedWhenTheirWindowIsFirstShownAndFillTheirBox() {
        engine::PuzzleState state;
        TForm2 dialog(state, [] {});
        TForm4 rules;
        QVERIFY(!dialog.Image1->decodeAttempted());
        QVERIFY(!rules.Image1->decodeAttempted());

        dialog.show();
        QVERIFY(dialog.Image1->decodeAttempted());
        QCOMPARE(dialog.Image1->picture().size(), QSize(700, 438));
        QVERIFY(!rules.Image1->decodeAttempted());

        rules.show();
        QCOMPARE(rules.Image1->picture().size(), QSize(639, 54));
        QVERIFY(rules.Image1->decodeError().isEmpty());

        // Stretched over its whole box: the lattice's dark corners, not the dialog's light
        // green, at the far corners of the client area that the picture covers.
        const QImage shown = dialog.grab().toImage();
        const QColor moneyGreen(192, 220, 192);
        for (const QPoint corner : {QPoint(2, 2), QPoint(614, 2), QPoint(2, 454), QPoint(614, 454)}) {
            QVERIFY2(shown.pixelColor(corner) != moneyGreen,
                     qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        }
        // The picture box stops one pixel short of the bottom.
        QCOMPARE(shown.pixelColor(300, 457), moneyGreen);
    }

    void brokenPictureLeavesTheBackgroundAndAnError() {
        const QByteArray good = assets::arrangementBackground();
        for (const QByteArray& broken : {QByteArray(), good.left(good.size() / 2), QByteArray("not a picture")}) {
            QWidget window;
            window.resize(200, 100);
            QPalette palette = window.palette();
            palette.setColor(QPalette::Window, QColor(192, 220, 192));
            window.setPalette(palette);
            window.setAutoFillBackground(true);
            auto* box = new PictureBox([broken] { return broken; }, &window);
            box->setGeometry(0, 0, 200, 100);
            window.show();

            QVERIFY(box->decodeAttempted());
            QVERIFY(box->picture().isNull());
            QVERIFY(!box->decodeError().isEmpty());
            const QImage shown = window.grab().toImage();
            QCOMPARE(shown.pixelColor(10, 10), QColor(192, 220, 192));
            QCOMPARE(shown.pixelColor(150, 80), QColor(192, 220, 192));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
