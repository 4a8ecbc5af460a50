#include "setup/user_file.h"

#include <QDir>

#include "platform/drives.h"
#include "pxall/vbstring.h"
#include "setup/setup_entries.h"
#include "shell/messages.h"
#include "shell/seams.h"

namespace px::setup {

int16_t choose_user_file(QWidget* parent, int16_t path_kind, const QString& filter, const char* source,
                         const char* procedure, std::string* chosen) {
    std::string dir(256, '\0');
    VbString s{dir.data(), 256};
    lib::setup::VBGetPathName(path_kind, &s);
    dir.resize(dir.find('\0') == std::string::npos ? dir.size() : dir.find('\0'));
    QString saved = QDir::currentPath();
    if (saved.isEmpty()) {
        WriteErrorLog(source, procedure, "GetCurrentDirectory", 100, 0, 0);
        return 100;
    }
    FileChoice choice;
    choice.filter = filter;
    auto host = plat::host_path(dir);
    choice.initial_dir = host ? QString::fromStdString(*host) : QString();
    QString file = ChooseFile(parent, choice);
    bool restored = QDir::setCurrent(saved);
    if (file.isEmpty()) {
        if (!restored) {
            WriteErrorLog(source, procedure, "SetCurrentDirectory", 102, 0, 0);
            return 102;
        }
        return 1;
    }
    if (!restored) {
        WriteErrorLog(source, procedure, "SetCurrentDirectory", 101, 0, 0);
        return 101;
    }
    *chosen = plat::windows_path(file.toStdString());
    return 0;
}

}  // namespace px::setup
