// Runs the fuzz target once over every file of the folders given: the
// regression run of the seed corpus in builds without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    int runs = 0;
    for (int i = 1; i < argc; ++i)
        for (const auto& e : std::filesystem::directory_iterator(argv[i])) {
            if (!e.is_regular_file()) continue;
            std::ifstream in(e.path(), std::ios::binary);
            std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(b.data(), b.size());
            ++runs;
        }
    std::printf("%d inputs run\n", runs);
    return runs > 0 ? 0 : 1;
}
