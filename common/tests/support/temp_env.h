// A scratch installation for tests: a temporary folder mapped as drive C:,
// the shared area allocated, TMP pointing at the folder so the error log
// lands there, and the process's current directory inside it.
#pragma once

#include <string>
#include <vector>

namespace pxtest {

class TempEnv {
public:
    TempEnv();
    ~TempEnv();
    TempEnv(const TempEnv&) = delete;
    TempEnv& operator=(const TempEnv&) = delete;

    // Host path of the folder behind C:.
    const std::string& root() const { return root_; }
    // Host path of a Windows-shaped path under C: ("C:\WORK\A.TMP").
    std::string host(const std::string& win_path) const;
    // Writes a file (host path relative to root, folders created).
    void write(const std::string& rel, const std::string& bytes) const;
    std::string read(const std::string& rel) const;
    bool exists(const std::string& rel) const;
    void mkdir(const std::string& rel) const;
    // Maps another drive letter onto a folder under root (created unless
    // `create` is false), with the platform's drive type.
    void map_drive(char letter, const std::string& rel, int type, bool create = true) const;
    // The lines of PXERROR.LOG (in C:\), without the date/time prefix.
    std::vector<std::string> log_lines() const;

private:
    std::string root_;
    std::string saved_cwd_;
    std::string saved_tmp_;
    bool had_tmp_ = false;
};

// Writes text into a shared-state field (NUL-terminated, bounded).
void set_field(unsigned char* block, size_t at, size_t width, const std::string& text);

}  // namespace pxtest
