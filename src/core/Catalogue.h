#pragma once
// Every puzzle of list.lst, headers only, in file order.
#include "core/Problem.h"

#include <memory>
#include <vector>

namespace platform
{
class IniFile;
}

class TCatalogue
{
  public:
    explicit TCatalogue(const QString &programDir) : ProgramDir(programDir) {}

    // Raises on any failure; records appended before it stay.
    void LoadCatalogue();
    // The same from list.lst's bytes, held to the same size limit.
    void LoadFromBytes(const QByteArray &bytes);
    // The same from an INI text already read; paths are built on ProgramDir.
    void LoadFromIni(const platform::IniFile &ini);
    TProblem *FindProblem(ProblemId id) const;
    void FreeCatalogue();

    const std::vector<std::unique_ptr<TProblem>> &Items() const { return items_; }
    int Count() const { return int(items_.size()); }

    QString ProgramDir; // no trailing separator

  private:
    std::vector<std::unique_ptr<TProblem>> items_;
};
