// The wrong-answer sound through SDL's real audio path: the "disk" driver writes what the
// device plays to a file, and a driver that does not exist stands for a machine without sound.

#include "assets/builtin_resources.h"
#include "toolkit/wave_player.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <SDL2/SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace quendal {
namespace {

QByteArray builtinSound() {
    QFile file(builtin::wrongSoundPath());
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// Every case starts and ends with the audio subsystem down, so the driver chosen through the
// environment is the one the next open takes.
class WavePlayerTest : public ::testing::Test {
  protected:
    void SetUp() override { WavePlayer::instance().close(); }
    void TearDown() override {
        WavePlayer::instance().close();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }
};

TEST_F(WavePlayerTest, TheDeviceReceivesTheBuiltInSoundAndALaterPlayReplacesWhatIsQueued) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString output = QDir(scratch.path()).filePath(QStringLiteral("played.raw"));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.toLocal8Bit().constData(), 1);

    const QByteArray sound = builtinSound();
    ASSERT_EQ(sound.size(), 21372);
    WavePlayer& player = WavePlayer::instance();
    // A first call whose samples are dropped by the second one before they are all played.
    const QByteArray filler(200000, '\x11');
    ASSERT_TRUE(player.play(filler));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(player.play(sound));

    // The disk driver writes in real time; the sound lasts about half a second.
    QByteArray written;
    while (clock.elapsed() < 10000) {
        QFile file(output);
        if (file.open(QIODevice::ReadOnly)) {
            written = file.readAll();
            const qsizetype at = written.indexOf(sound);
            if (at >= 0) {
                break;
            }
        }
        QThread::msleep(50);
    }
    player.close();
    const qsizetype at = written.indexOf(sound);
    ASSERT_GE(at, 0) << "the file holds " << written.size() << " bytes without the sound";
    // Before the sound only silence or the little of the dropped call that was already
    // played; far less than the whole of it.
    EXPECT_LT(written.count('\x11'), filler.size() / 2);
}

TEST_F(WavePlayerTest, WithoutAnAudioDeviceNothingPlaysAndTheFailureIsRemembered) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    WavePlayer& player = WavePlayer::instance();
    const QByteArray sound = builtinSound();
    EXPECT_FALSE(player.play(sound));
    // Once refused, the player does not ask again, even when a device would now be there.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_FALSE(player.play(sound));
    // close() forgets the failure: the next play opens the device it now finds.
    player.close();
    EXPECT_TRUE(player.play(sound));
}

} // namespace
} // namespace quendal
