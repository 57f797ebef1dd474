// Where a catalog update keeps what it fetched until everything is there,
// and the replace of the catalog files that is all or nothing.
//
//   Data\update\FLVersion.ini      the fetched manifest
//   Data\update\files\<name>       the fetched catalog files
//   Data\update\previous\<name>    the installed files, moved aside while replacing
//
// The manifest moving into Data is the moment the update counts as done.
// Until then, a program that was ended half-way leaves the previous files
// behind, and the next check (recover()) puts them back.
#pragma once

#include <string>
#include <vector>

namespace update {

class Staging {
  public:
    // `data` is the Data folder with a trailing backslash.
    explicit Staging(std::string data);

    std::string folder() const { return data_ + "update\\"; }
    std::string manifest() const;
    std::string file(const std::string& name) const { return folder() + "files\\" + name; }

    // Puts back what an update that was cut off, or failed, had moved aside
    // (unless it had recorded its manifest), then removes every staged file.
    void recover();
    // Makes the folders; false (with `error`) when they cannot be made.
    bool prepare(std::string& error);

    struct Outcome {
        bool ok = false;
        bool restored = true; // after a failure: every replaced file was put back
        // Lines for the log: what failed and why; what was put back.
        std::vector<std::string> lines;
    };
    // Replaces each named file in Data by its staged copy, then records the
    // staged manifest. When any step fails, the files already replaced are
    // put back and the manifest stays as it was.
    Outcome commit(const std::vector<std::string>& names);
    // Removes the staged files and the folders.
    void clear();

  private:
    std::string previous(const std::string& name) const { return folder() + "previous\\" + name; }
    std::string data_;
};

} // namespace update
