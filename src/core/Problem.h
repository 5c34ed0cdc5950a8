#pragma once
// The puzzle record: the header from the catalogue, and the data file and
// picture read on demand, one puzzle at a time.
#include "core/Difficulty.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class TUser;
struct LevelEntry;

using ProblemId = std::uint16_t;

// The first byte of every puzzle data file ('M'); a file that starts otherwise is refused.
inline constexpr std::uint8_t DataFileMagic = 77;

enum AnswerKindCode : std::uint8_t {
    AnswerInteger = 0,
    AnswerText = 1,
    AnswerTime = 2,
    AnswerChoice = 3,
    AnswerNumbers = 4,
};

// The 32-byte answer record, little-endian and packed, the same in the data
// file and in the answer dialog. Unused bytes are zero in a built answer.
struct AnswerValue {
    static constexpr int Size = 32;
    static constexpr int MaxTextLength = 12;
    static constexpr int MaxNumbers = 7;
    std::array<std::uint8_t, Size> bytes{};

    static AnswerValue fromInteger(std::int32_t value);
    // Text and choice: Windows-1251 bytes, cut to MaxTextLength.
    static AnswerValue fromText(const QString &text);
    static AnswerValue fromRawText(const QByteArray &cp1251);
    // Fraction of a day computed in double precision from the whole milliseconds.
    static AnswerValue fromTime(int hours, int minutes, int seconds);
    static double dayFraction(int hours, int minutes, int seconds);
    static AnswerValue fromNumbers(const std::vector<std::int32_t> &numbers);

    std::int32_t integer() const;
    QByteArray rawText() const; // bytes 1..L
    QString text() const;       // rawText decoded from Windows-1251
    double time() const;
    std::uint8_t count() const; // byte 0
    std::int32_t number(int i) const;

    bool operator==(const AnswerValue &) const = default;
};

// Compares an answer with the stored right one by kind; kinds above 4 never match.
bool answersMatch(std::uint8_t kind, const AnswerValue &stored, const AnswerValue &given);

// Score tables, indexed by indexOf(Difficulty).
inline constexpr std::array<std::uint16_t, DifficultyCount> SolutionCost{20, 30, 40};
inline constexpr std::array<std::uint16_t, DifficultyCount> AnswerBonus{10, 20, 30};
inline constexpr std::array<std::uint16_t, DifficultyCount> AnswerPenalty{4, 2, 1};

class TProblem
{
  public:
    TProblem(ProblemId id, std::uint8_t difficult, const QString &name, const QString &imagePath,
             const QString &dataPath);
    // Copies the header only; nothing loaded is copied.
    TProblem(const TProblem &source);
    TProblem &operator=(const TProblem &) = delete;
    virtual ~TProblem();

    ProblemId Id = 0;
    QString Name;
    QString ImagePath;
    QString DataPath;
    std::uint8_t Difficult = 0; // as stored; see knownDifficulty()
    bool Loaded = false;
    std::uint8_t AnswerKind = 0;
    AnswerValue AnswerData;
    QStringList Lines; // empty while not loaded
    QImage Picture;    // null while not loaded
    // The picture's SVG source when the pack holds a safe one beside the JPEG
    // (core/VectorPicture.h), for drawing sharp above factor 1; else empty.
    QByteArray PictureSvg;
    QByteArray StatementText;
    QByteArray SolutionText;
    QList<QByteArray> Hints;   // graded hints, rich text, easiest first; empty while not loaded
    bool HintsDamaged = false; // the data file's hint block was begun but is not sound

    // Reads the picture (24-bit RGB), its sharp form if any, and the data file.
    // Raises ELoadError.
    void LoadData();
    // LoadData unless it has already succeeded: a puzzle that failed to load is
    // read again rather than shown or answered empty.
    void EnsureLoaded()
    {
        if (!Loaded)
            LoadData();
    }
    // The data file alone, for tools that need no picture.
    void LoadDataWithoutPicture();
    // Parses a data file's bytes as LoadData does (DataPath names it in messages).
    void LoadDataFromBytes(const QByteArray &bytes);
    void UnloadData();

    QByteArray GetStatementText() const { return StatementText; }
    QByteArray GetSolutionText() const { return SolutionText; }

    // Compares an entered answer with the right one; the rules score it.
    virtual bool CheckAnswer(const AnswerValue &answer) const;
    // True when the solution may be shown; charges the price at most once.
    virtual bool BuySolution(TUser &player);
};
