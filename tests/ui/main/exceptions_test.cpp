// An exception that escapes an event handler is shown in an error box captioned with the
// application title, and the program goes on with the next event.
#include <QLabel>
#include <QtTest>

#include <stdexcept>

#include "form_fixture.h"
#include "ui/platform/game_application.h"

namespace {

// Throws from the handler of the first event it receives, and counts the later ones: a
// standard exception, or, when told, something that is none.
class FailingOnce : public QObject {
public:
    explicit FailingOnce(bool standard) : standard_(standard) {}
    int handled = 0;
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        if (!failed_) {
            failed_ = true;
            if (standard_) throw std::runtime_error("the handler failed");
            throw 42;
        }
        ++handled;
        return true;
    }

private:
    bool standard_;
    bool failed_ = false;
};

}  // namespace

class TestExceptions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { prepareGameApplication(); }

    void aThrowingHandlerShowsAnErrorBoxAndTheLoopGoesOn_data() {
        QTest::addColumn<bool>("standard");
        QTest::addColumn<QString>("text");
        QTest::newRow("a standard exception") << true << QStringLiteral("the handler failed");
        QTest::newRow("something else") << false << QStringLiteral("Unknown error");
    }

    void aThrowingHandlerShowsAnErrorBoxAndTheLoopGoesOn() {
        QFETCH(bool, standard);
        QFETCH(QString, text);
        BoxRecorder recorder;
        FailingOnce receiver(standard);
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
        QTRY_COMPARE(receiver.handled, 1);

        QCOMPARE(recorder.boxes.size(), 1u);
        QCOMPARE(recorder.boxes[0].kind, platform::BoxKind::Error);
        QCOMPARE(recorder.boxes[0].caption, kTitle);
        QCOMPARE(recorder.boxes[0].text, text);
    }

    void aGameHandlerFailingOnATimerTick() {
        BoxRecorder recorder;
        engine::PuzzleState state;
        SolverService solver;
        TForm1 form(state, solver);
        form.Label3->setText(QStringLiteral("not a time"));
        QTimer::singleShot(0, &form, &TForm1::Timer3Timer);
        QTRY_COMPARE(recorder.boxes.size(), 1u);
        QCOMPARE(recorder.boxes[0].caption, kTitle);
        QVERIFY(recorder.boxes[0].text.contains(QStringLiteral("not a time")));

        // The window goes on working.
        form.Label3->setText(kClockZero);
        QTimer::singleShot(0, &form, &TForm1::Timer3Timer);
        QTRY_COMPARE(form.Label3->text(), QStringLiteral("00:00:01"));
        QCOMPARE(recorder.boxes.size(), 1u);
    }
};

int main(int argc, char** argv) {
    platform::GameApplication app(argv);
    TestExceptions test;
    return QTest::qExec(&test, argc, argv);
}

#include "exceptions_test.moc"
