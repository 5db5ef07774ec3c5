// Replay driver: feeds saved fuzz inputs (files, or every file in folders) to a target
// built without libFuzzer, so the normal test run covers the corpus and the regressions.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Collect(const std::string& path, std::vector<std::string>& files) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return;
    if (!S_ISDIR(st.st_mode)) {
        files.push_back(path);
        return;
    }
    DIR* dir = opendir(path.c_str());
    if (!dir) return;
    std::vector<std::string> inside;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name[0] == '.') continue;  // .keep and the like
        inside.push_back(path + "/" + name);
    }
    closedir(dir);
    std::sort(inside.begin(), inside.end());
    for (const std::string& p : inside) Collect(p, files);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) Collect(argv[i], files);
    if (files.empty()) {
        std::fprintf(stderr, "no inputs found\n");
        return 2;
    }
    // Read everything first: the targets change the working directory.
    std::vector<std::vector<char>> inputs;
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "cannot read %s\n", file.c_str());
            return 2;
        }
        inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    for (size_t i = 0; i < files.size(); ++i) {
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", files[i].c_str(), inputs[i].size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(inputs[i].data()),
                               inputs[i].size());
    }
    std::fprintf(stderr, "replayed %zu inputs\n", files.size());
    return 0;
}
