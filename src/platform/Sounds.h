#pragma once
// The game's five sounds and the two routines that play them. The wave images
// come from the media library at start-up; the player behind them is pluggable
// (SDL audio in the game, a recorder in tests, nothing at all by default).
#include <QByteArray>
#include <QString>

namespace platform {

enum class Wave { Click, Error, LevelUp, TrueAnswer, FalseAnswer };

// Resource names in Media.dll: "CLICK", "ERROR", "LEVELUP", "TRUEANSWER", "FALSEANSWER".
QString waveName(Wave wave);

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Plays a RIFF WAVE image asynchronously, cutting off what plays now.
    // Never reports failure: no device means silence.
    virtual void play(const QString &name, const QByteArray &waveImage) = 0;
    virtual void stop() = 0;
};

class IResourceLibrary;

// Loads the five wave images from the library (missing ones stay silent).
void loadSounds(const IResourceLibrary &library);
void freeSounds();
void setSoundPlayer(ISoundPlayer *player);  // not owned; null for silence
ISoundPlayer *soundPlayer();

// The player's sound switch: when off, PlayWave and PlayClick stay silent
// and a sound that plays now is cut off. On by default.
void setSoundsEnabled(bool on);
bool soundsEnabled();

void PlayWave(Wave wave);
void PlayClick();

}  // namespace platform
