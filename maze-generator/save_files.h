// Writing a set of files all or none, each replacing any file of its name
// only once every one of them is whole on the disk.
#pragma once

#include <string>
#include <vector>

struct FileOut {
    std::string path;
    std::string bytes;
};

// 0 when all are saved; otherwise the errno of the failure, the file it hit
// in failed_path, and none of the files written (older files of the same
// names are left as they were, unless the failure came while putting them
// in place).
int save_files(const std::vector<FileOut> &files, std::string &failed_path);
