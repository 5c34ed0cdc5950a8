#pragma once
// Shared fixtures of the GUI tests: a recording sound player, a fake media
// library with coloured pictures and wave images, a message box that records
// instead of running modally, and helpers to drive modal forms.
#include "FakeResourceLibrary.h"
#include "core/MemoBook.h"
#include "platform/ResourceLibrary.h"
#include "platform/Sounds.h"
#include "platform/UserStore.h"
#include "screens/GameContext.h"
#include "screens/MessageBoxForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace guitest
{

class RecordingSoundPlayer : public platform::ISoundPlayer
{
  public:
    void play(const QString &name, const QByteArray &) override { played << name; }
    void stop() override {}
    QStringList played;
};

inline QImage solidImage(QColor color)
{
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

inline const QColor kQuestionColor(0, 0, 255);
inline const QColor kTrueColor(0, 160, 0);
inline const QColor kFalseColor(200, 0, 0);

// The fake media library, the recording player and a context over them and a
// temporary store, for one test.
class MediaFixture : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        media.addBitmap(QStringLiteral("QUESTION"), solidImage(kQuestionColor));
        media.addBitmap(QStringLiteral("TRUEANSWERB"), solidImage(kTrueColor));
        media.addBitmap(QStringLiteral("FALSEANSWERB"), solidImage(kFalseColor));
        media.addBitmap(QStringLiteral("LEVELUP"), solidImage(Qt::yellow));
        for (int id = 1; id <= 5; ++id)
            media.addBitmap(id, solidImage(QColor(id * 40, 0, 100)));
        for (const char *wave : {"CLICK", "ERROR", "LEVELUP", "TRUEANSWER", "FALSEANSWER"})
            media.addResource(QStringLiteral("WAVE"), QLatin1String(wave), QByteArray("RIFF") + wave);
        waves.load(media);
        waves.setPlayer(&sounds);
    }
    void TearDown() override { waves.free(); }

    platform::FakeResourceLibrary media;
    RecordingSoundPlayer sounds;
    // The game's sounds over the recorder, as the context hands them down.
    platform::Sounds waves;
    // A store of the test's own, opened when a screen first asks for it.
    QTemporaryDir playerStoreDir;
    platform::UserStore playerStore{playerStoreDir.filePath(QStringLiteral("registry.sqlite3"))};
    TMemoBook runMemos;
    GameContext context{media, playerStore, QCoreApplication::applicationDirPath(), nullptr, &runMemos,
                        {},    &waves};
};

// A message box that records each show instead of running modally.
class RecordingMessageBox : public TMessageBoxForm
{
  public:
    using TMessageBoxForm::TMessageBoxForm;
    struct Shown {
        QString text;
        bool picture = false;
        bool cancelVisible = false;
    };
    QList<Shown> shown;
    int reply = mrOk;

  protected:
    int Execute() override
    {
        shown.append({Text->caption(), Image->isVisibleTo(this), CancelBtn->isVisibleTo(this)});
        return reply;
    }
};

// Runs `act` on the active modal window once one is up (from inside its modal loop).
inline void whenModal(std::function<void(QWidget *)> act, int timeoutMs = 3000)
{
    auto *timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act, elapsed, timeoutMs] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no modal window appeared";
        }
    });
    timer->start();
}

// Types text key by key, letters outside ASCII included.
inline void typeText(QWidget *w, const QString &text)
{
    for (QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(w, char(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(ch.toUpper().unicode()), QString(ch),
                                Qt::NoModifier);
    }
}

// Deletes what deleteLater scheduled.
inline void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace guitest
