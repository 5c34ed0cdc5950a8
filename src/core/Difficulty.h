#pragma once
// How hard a puzzle is. The catalogue keeps the grade as the byte it reads,
// whatever it is; only the three grades below are drawn for a level, scored,
// priced and counted, so every such use goes through knownDifficulty().
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

enum class Difficulty : std::uint8_t { Easy = 0, Medium = 1, Hard = 2 };

inline constexpr std::size_t DifficultyCount = 3;
inline constexpr std::array<Difficulty, DifficultyCount> Difficulties{Difficulty::Easy, Difficulty::Medium,
                                                                      Difficulty::Hard};

// The one range check for a stored grade: none for a byte outside the three.
constexpr std::optional<Difficulty> knownDifficulty(std::int64_t stored)
{
    if (stored < 0 || stored >= std::int64_t(DifficultyCount))
        return std::nullopt;
    return Difficulty(stored);
}

// The grade's place in the per-difficulty tables and counters.
constexpr std::size_t indexOf(Difficulty d)
{
    return std::size_t(d);
}
