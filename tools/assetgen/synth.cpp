#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace assetgen
{

namespace
{

constexpr double kTwoPi = 2.0 * std::numbers::pi;

struct Partial {
    double ratio; // of the note's frequency
    double amp;
    double decay; // time constant in seconds; 0 = no decay of its own
};

class Track
{
  public:
    explicit Track(double seconds) : samples_(std::size_t(std::lround(seconds * kSampleRate)), 0.0) {}

    // A struck note: each partial decays on its own, after a short attack.
    // glide: the frequency at the end of the note as a ratio of the start (1 = steady).
    void note(double start, double length, double freq, double amp, const std::vector<Partial> &partials,
              double attack = 0.004, double glide = 1.0, double vibratoHz = 0.0, double vibratoDepth = 0.0)
    {
        const std::size_t first = std::size_t(std::lround(start * kSampleRate));
        const std::size_t count = std::size_t(std::lround(length * kSampleRate));
        const double release = std::min(0.03, length / 4);
        std::vector<double> phase(partials.size(), 0.0);
        for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            const double t = double(i) / kSampleRate;
            double env = t < attack ? t / attack : 1.0;
            if (t > length - release)
                env *= std::max(0.0, (length - t) / release);
            const double progress = double(i) / double(count);
            double f = freq * std::pow(glide, progress);
            if (vibratoHz > 0)
                f *= 1.0 + vibratoDepth * std::sin(kTwoPi * vibratoHz * t);
            double v = 0.0;
            for (std::size_t p = 0; p < partials.size(); ++p) {
                // A partial above the Nyquist limit would fold back as a harsh
                // off-key whistle: leave it out.
                if (f * partials[p].ratio >= 0.45 * kSampleRate)
                    continue;
                phase[p] += kTwoPi * f * partials[p].ratio / kSampleRate;
                const double d = partials[p].decay > 0 ? std::exp(-t / partials[p].decay) : 1.0;
                v += partials[p].amp * d * std::sin(phase[p]);
            }
            samples_[first + i] += amp * env * v;
        }
    }

    // Deterministic noise burst (a 32-bit LCG), for the edge of a click.
    void noise(double start, double length, double amp, double decay)
    {
        std::uint32_t state = 0x2545F491u;
        const std::size_t first = std::size_t(std::lround(start * kSampleRate));
        const std::size_t count = std::size_t(std::lround(length * kSampleRate));
        double previous = 0.0;
        for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            state = state * 1664525u + 1013904223u;
            const double white = double(state >> 8) / double(1u << 24) * 2.0 - 1.0;
            // First-order high-pass so the burst ticks rather than hisses.
            const double v = white - previous;
            previous = white;
            samples_[first + i] += amp * std::exp(-double(i) / kSampleRate / decay) * v * 0.5;
        }
    }

    // A soft feedback echo, as in a small room: it rounds off the chimes.
    void echo(double delay, double gain)
    {
        const std::size_t d = std::size_t(std::lround(delay * kSampleRate));
        for (std::size_t i = d; i < samples_.size(); ++i)
            samples_[i] += gain * samples_[i - d];
    }

    // Scales to the given peak and fades both ends from and to silence, so that
    // starting a sound, or cutting it off with the next, makes no pop.
    std::vector<double> finish(double peak)
    {
        double top = 0.0;
        for (double s : samples_)
            top = std::max(top, std::abs(s));
        const double gain = top > 0 ? peak / top : 0.0;
        const std::size_t fade = std::min<std::size_t>(samples_.size(), kSampleRate / 200);
        const std::size_t fadeIn = std::min<std::size_t>(samples_.size(), kSampleRate / 1000);
        for (std::size_t i = 0; i < samples_.size(); ++i) {
            samples_[i] *= gain;
            if (i < fadeIn)
                samples_[i] *= double(i) / double(fadeIn);
            const std::size_t left = samples_.size() - i;
            if (left <= fade)
                samples_[i] *= double(left - 1) / double(fade);
        }
        return samples_;
    }

  private:
    std::vector<double> samples_;
};

double midi(int n)
{
    return 440.0 * std::pow(2.0, (n - 69) / 12.0);
}

// Timbres shared by the sounds, so they sound like one family.
const std::vector<Partial> kMarimba = {{1.0, 1.0, 0.18}, {3.93, 0.25, 0.03}, {9.2, 0.06, 0.01}};
const std::vector<Partial> kBell = {
    {1.0, 1.0, 0.45}, {2.0, 0.35, 0.25}, {2.76, 0.25, 0.15}, {5.4, 0.08, 0.06}};
const std::vector<Partial> kSoftHorn = {
    {1.0, 1.0, 0.6}, {2.0, 0.28, 0.3}, {3.0, 0.18, 0.2}, {5.0, 0.05, 0.1}};

std::vector<double> click()
{
    // A light wooden tick, 40 ms.
    Track t(0.040);
    t.note(0.0, 0.040, 1500.0, 1.0, {{1.0, 1.0, 0.006}, {2.3, 0.4, 0.003}}, 0.0005);
    t.noise(0.0, 0.006, 0.6, 0.0015);
    return t.finish(0.55);
}

std::vector<double> error()
{
    // "Bo-ing": two marimba notes, a falling fourth, asking for attention without alarm.
    Track t(0.45);
    t.note(0.00, 0.30, midi(81), 0.9, kMarimba); // A5
    t.note(0.11, 0.34, midi(76), 1.0, kMarimba); // E5
    return t.finish(0.7);
}

std::vector<double> trueAnswer()
{
    // A bright rising chime: G5, C6, then E6 with a sparkle on top.
    Track t(0.95);
    t.note(0.00, 0.50, midi(79), 0.8, kBell);
    t.note(0.10, 0.55, midi(84), 0.9, kBell);
    t.note(0.20, 0.75, midi(88), 1.0, kBell);
    t.note(0.22, 0.50, midi(100), 0.15, kBell);
    t.echo(0.085, 0.22);
    return t.finish(0.75);
}

std::vector<double> falseAnswer()
{
    // A soft "wah-wah" falling down: friendly, clearly not a success.
    Track t(0.80);
    t.note(0.00, 0.28, midi(63), 0.9, kSoftHorn, 0.02, 0.97, 6.0, 0.012); // E flat 4
    t.note(0.30, 0.50, midi(59), 1.0, kSoftHorn, 0.02, 0.92, 5.0, 0.018); // B3 sliding down
    return t.finish(0.5);
}

std::vector<double> levelUp()
{
    // A quick arpeggio up two octaves and a ringing chord: the biggest sound of the game.
    Track t(1.45);
    const int steps[] = {72, 76, 79, 84, 88, 91}; // C5 E5 G5 C6 E6 G6
    for (int i = 0; i < 6; ++i)
        t.note(0.075 * i, 0.30, midi(steps[i]), 0.7, kMarimba);
    for (int n : {84, 88, 91, 96})
        t.note(0.45, 1.0, midi(n), n == 96 ? 0.35 : 0.6, kBell);
    t.echo(0.11, 0.2);
    return t.finish(0.75);
}

void putU16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xff));
    out.append(char(v >> 8));
}

void putU32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xff));
}

} // namespace

QStringList soundNames()
{
    return {QStringLiteral("CLICK"), QStringLiteral("ERROR"), QStringLiteral("LEVELUP"),
            QStringLiteral("TRUEANSWER"), QStringLiteral("FALSEANSWER")};
}

std::vector<double> synthesize(const QString &name)
{
    const QString n = name.toUpper();
    if (n == QLatin1String("CLICK"))
        return click();
    if (n == QLatin1String("ERROR"))
        return error();
    if (n == QLatin1String("LEVELUP"))
        return levelUp();
    if (n == QLatin1String("TRUEANSWER"))
        return trueAnswer();
    if (n == QLatin1String("FALSEANSWER"))
        return falseAnswer();
    return {};
}

QByteArray encodeWave(const std::vector<double> &samples, int sampleRate)
{
    const quint32 dataBytes = quint32(samples.size() * 2);
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    putU32(out, 36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    putU32(out, 16);
    putU16(out, 1); // PCM
    putU16(out, 1); // mono
    putU32(out, quint32(sampleRate));
    putU32(out, quint32(sampleRate) * 2);
    putU16(out, 2);  // block align
    putU16(out, 16); // bits per sample
    out.append("data", 4);
    putU32(out, dataBytes);
    for (double s : samples) {
        const double clipped = std::clamp(s, -1.0, 1.0);
        putU16(out, quint16(qint16(std::lround(clipped * 32767.0))));
    }
    return out;
}

} // namespace assetgen
