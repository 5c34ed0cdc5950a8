#pragma once
// The game's sounds, synthesized from a few notes so that they are small,
// byte-identical on every build and free of anyone else's recordings.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace assetgen
{

constexpr int kSampleRate = 22050;

// Names of the sounds the media library holds.
QStringList soundNames();

// Samples in -1..1 for a named sound; empty for an unknown name.
std::vector<double> synthesize(const QString &name);

// 16-bit PCM mono RIFF WAVE image of the samples (clipped to -1..1).
QByteArray encodeWave(const std::vector<double> &samples, int sampleRate = kSampleRate);

} // namespace assetgen
