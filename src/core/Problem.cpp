#include "core/Problem.h"

#include "core/Errors.h"
#include "core/GamePath.h"
#include "core/HintBlock.h"
#include "core/User.h"
#include "core/VectorPicture.h"
#include "platform/BoundedFile.h"
#include "platform/Codepage.h"
#include "platform/InputLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstring>

// ---------------------------------------------------------------------------
// AnswerValue

namespace
{

std::int32_t readInt32(const std::uint8_t *p)
{
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

void writeInt32(std::uint8_t *p, std::int32_t v)
{
    const auto u = std::uint32_t(v);
    p[0] = std::uint8_t(u);
    p[1] = std::uint8_t(u >> 8);
    p[2] = std::uint8_t(u >> 16);
    p[3] = std::uint8_t(u >> 24);
}

} // namespace

AnswerValue AnswerValue::fromInteger(std::int32_t value)
{
    AnswerValue a;
    writeInt32(a.bytes.data(), value);
    return a;
}

AnswerValue AnswerValue::fromText(const QString &text)
{
    return fromRawText(platform::toCp1251(text));
}

AnswerValue AnswerValue::fromRawText(const QByteArray &cp1251)
{
    AnswerValue a;
    const int n = int(std::min<qsizetype>(cp1251.size(), MaxTextLength));
    a.bytes[0] = std::uint8_t(n);
    std::memcpy(a.bytes.data() + 1, cp1251.constData(), std::size_t(n));
    return a;
}

double AnswerValue::dayFraction(int hours, int minutes, int seconds)
{
    const std::int64_t ms =
        std::int64_t(hours) * 3600000 + std::int64_t(minutes) * 60000 + std::int64_t(seconds) * 1000;
    return double(ms) / 86400000.0;
}

AnswerValue AnswerValue::fromTime(int hours, int minutes, int seconds)
{
    AnswerValue a;
    const double d = dayFraction(hours, minutes, seconds);
    std::memcpy(a.bytes.data(), &d, sizeof d); // little-endian host
    return a;
}

AnswerValue AnswerValue::fromNumbers(const std::vector<std::int32_t> &numbers)
{
    AnswerValue a;
    const int n = int(std::min<std::size_t>(numbers.size(), MaxNumbers));
    a.bytes[0] = std::uint8_t(n);
    for (int i = 0; i < n; ++i)
        writeInt32(a.bytes.data() + 4 + 4 * i, numbers[std::size_t(i)]);
    return a;
}

std::int32_t AnswerValue::integer() const
{
    return readInt32(bytes.data());
}

QByteArray AnswerValue::rawText() const
{
    const int n = std::min<int>(bytes[0], Size - 1);
    return QByteArray(reinterpret_cast<const char *>(bytes.data() + 1), n);
}

QString AnswerValue::text() const
{
    return platform::fromCp1251(rawText());
}

double AnswerValue::time() const
{
    double d;
    std::memcpy(&d, bytes.data(), sizeof d);
    return d;
}

std::uint8_t AnswerValue::count() const
{
    return bytes[0];
}

std::int32_t AnswerValue::number(int i) const
{
    if (i < 0 || i >= MaxNumbers)
        return 0;
    return readInt32(bytes.data() + 4 + 4 * i);
}

bool answersMatch(std::uint8_t kind, const AnswerValue &stored, const AnswerValue &given)
{
    switch (kind) {
    case AnswerInteger:
        return stored.integer() == given.integer();
    case AnswerText:
    case AnswerChoice: {
        // Length byte and characters, byte for byte. A length that would
        // reach past the record cannot be a real answer.
        const int len = given.bytes[0];
        if (len >= AnswerValue::Size)
            return false;
        return std::memcmp(stored.bytes.data(), given.bytes.data(), std::size_t(len) + 1) == 0;
    }
    case AnswerTime:
        return stored.time() == given.time();
    case AnswerNumbers: {
        const int n = stored.count();
        if (n < 1 || n > AnswerValue::MaxNumbers)
            return false; // a damaged count never matches
        for (int i = 0; i < n; ++i)
            if (stored.number(i) != given.number(i))
                return false;
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// TProblem

TProblem::TProblem(ProblemId id, std::uint8_t difficult, const QString &name, const QString &imagePath,
                   const QString &dataPath)
    : Id(id), Name(name), ImagePath(imagePath), DataPath(dataPath), Difficult(difficult)
{
}

TProblem::TProblem(const TProblem &source)
    : Id(source.Id), Name(source.Name), ImagePath(source.ImagePath), DataPath(source.DataPath),
      Difficult(source.Difficult)
{
}

TProblem::~TProblem()
{
    UnloadData();
}

void TProblem::LoadData()
{
    Picture = QImage();
    PictureSvg = QByteArray();
    const QString imageFile = gamepath::resolve(ImagePath);
    if (imageFile.isEmpty())
        throw ELoadError(QStringLiteral("The BitMap for the problem id - %1 is missing!").arg(Id));

    QImageReader reader(imageFile);
    if (reader.format().isEmpty() && !QImageReader::supportedImageFormats().contains("jpeg"))
        throw ELoadError(QStringLiteral("No picture decoder is available for %1").arg(ImagePath));
    // A picture that cannot be decoded stays empty; the puzzle is still playable.
    QImage image = reader.read();
    if (!image.isNull())
        Picture = image.convertToFormat(QImage::Format_RGB888);
    // The sharp form is optional: a pack without it, or with one that is not
    // safe to draw, shows the JPEG as before.
    PictureSvg = vectorpicture::readSafe(gamepath::resolve(vectorpicture::pathFor(ImagePath)));

    LoadDataWithoutPicture();
}

void TProblem::LoadDataWithoutPicture()
{
    const QString dataFile = gamepath::resolve(DataPath);
    const platform::BoundedRead read = dataFile.isEmpty()
                                           ? platform::BoundedRead{}
                                           : platform::readBoundedFile(dataFile, limits::MaxDataFileBytes);
    using Status = platform::BoundedRead::Status;
    if (read.status == Status::Missing || read.status == Status::NotAFile)
        throw ELoadError(
            QStringLiteral("Can not open the text file %1 for the problem id - %2").arg(DataPath).arg(Id));
    if (read.status == Status::TooLarge)
        throw ELoadError(QStringLiteral("The text file %1 for the problem id - %2 is larger than %3 bytes")
                             .arg(DataPath)
                             .arg(Id)
                             .arg(limits::MaxDataFileBytes));
    if (!read.ok())
        throw ELoadError(
            QStringLiteral("Bad format of the text file %1 for the problem id - %2").arg(DataPath).arg(Id));
    LoadDataFromBytes(read.bytes);
}

void TProblem::LoadDataFromBytes(const QByteArray &bytes)
{
    Loaded = false;
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype pos = 0;

    auto bad = [this]() {
        return ELoadError(
            QStringLiteral("Bad format of the text file %1 for the problem id - %2").arg(DataPath).arg(Id));
    };
    auto tooLarge = [this](qsizetype limit) {
        return ELoadError(QStringLiteral("The text file %1 for the problem id - %2 holds more than %3 bytes")
                              .arg(DataPath)
                              .arg(Id)
                              .arg(limit));
    };
    if (size > limits::MaxDataFileBytes)
        throw tooLarge(limits::MaxDataFileBytes);
    auto need = [&](qsizetype n) {
        if (n < 0 || n > size - pos)
            throw bad();
    };
    auto byte = [&]() {
        need(1);
        return data[pos++];
    };
    auto int32 = [&]() {
        need(4);
        const std::int32_t v = readInt32(data + pos);
        pos += 4;
        return v;
    };
    // A length is checked against what is left before anything is allocated,
    // and against what the text viewer reads: a longer text would show as an
    // empty page.
    auto block = [&]() {
        const std::int32_t len = int32();
        need(len);
        if (len > limits::MaxTextBytes)
            throw tooLarge(limits::MaxTextBytes);
        QByteArray out(bytes.constData() + pos, len);
        pos += len;
        return out;
    };

    if (byte() != DataFileMagic)
        throw bad();
    StatementText = block();
    AnswerKind = byte();
    need(AnswerValue::Size);
    std::memcpy(AnswerData.bytes.data(), data + pos, AnswerValue::Size);
    pos += AnswerValue::Size;

    Lines.clear();
    const int lineCount = byte();
    for (int i = 0; i < lineCount; ++i) {
        const int n = byte();
        if (n == 0) {
            Lines.append(QString());
            continue;
        }
        need(n);
        // A length byte larger than what follows it takes only the bytes read.
        const int len = std::min<int>(data[pos], n - 1);
        Lines.append(platform::fromCp1251(QByteArray(bytes.constData() + pos + 1, len)));
        pos += n;
    }
    SolutionText = block();
    // Hints are extra: a damaged block costs only the hints it cannot give.
    const HintBlockRead hints = readHintBlock(bytes.constData() + pos, size - pos);
    Hints = hints.hints;
    HintsDamaged = hints.damaged;
    Loaded = true;
}

void TProblem::UnloadData()
{
    Loaded = false;
    StatementText = QByteArray();
    SolutionText = QByteArray();
    Hints.clear();
    HintsDamaged = false;
    Lines = QStringList();
    Picture = QImage();
    PictureSvg = QByteArray();
}

bool TProblem::CheckAnswer(const AnswerValue &answer) const
{
    return answersMatch(AnswerKind, AnswerData, answer);
}

bool TProblem::BuySolution(TUser &player)
{
    LevelEntry *entry = player.LevelList.FindEntry(Id);
    if (!entry)
        return false;
    if (entry->Bought)
        return true;
    const std::optional<Difficulty> grade = knownDifficulty(Difficult);
    if (!grade)
        return false;
    const int cost = SolutionCost[indexOf(*grade)];
    if (cost > player.Scores)
        return false;
    player.ChangeScores(-cost);
    entry->Bought = 1;
    return true;
}
