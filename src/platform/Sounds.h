#pragma once
// The game's five sounds and what plays them. The wave images come from the
// media library at start-up; the player behind them is pluggable (SDL audio
// in the game, a recorder in tests, nothing at all by default).
#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>

namespace platform
{

enum class Wave { Click, Error, LevelUp, TrueAnswer, FalseAnswer };

// Resource names in Media.dll: "CLICK", "ERROR", "LEVELUP", "TRUEANSWER", "FALSEANSWER".
QString waveName(Wave wave);

class ISoundPlayer
{
  public:
    virtual ~ISoundPlayer() = default;
    // Plays a RIFF WAVE image asynchronously, cutting off what plays now.
    // Never reports failure: no device means silence.
    virtual void play(const QString &name, const QByteArray &waveImage) = 0;
    virtual void stop() = 0;
};

class IResourceLibrary;

// The game's sounds: the wave images, the player and the player's sound
// switch. One is made by start-up and handed down (the screens reach it
// through their context); a test makes its own around a recorder.
class Sounds : public QObject
{
    Q_OBJECT
  public:
    // Loads the five wave images from the library (missing ones stay silent).
    void load(const IResourceLibrary &library);
    void free();
    void setPlayer(ISoundPlayer *player); // not owned; null for silence
    ISoundPlayer *player() const { return player_; }

    // The sound switch: when off, play and click stay silent and a sound
    // that plays now is cut off. On by default.
    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    void toggle() { setEnabled(!enabled_); }

    void play(Wave wave) const;
    void click() const { play(Wave::Click); }

  signals:
    // The switch changed, so that every view of it follows.
    void enabledChanged(bool on);

  private:
    std::array<QByteArray, 5> images_;
    ISoundPlayer *player_ = nullptr;
    bool enabled_ = true;
};

// For whoever may have no sounds: null is silence.
void PlayWave(const Sounds *sounds, Wave wave);
void PlayClick(const Sounds *sounds);

} // namespace platform
