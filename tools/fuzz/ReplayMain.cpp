// Replays kept fuzz inputs without libFuzzer, so that every build (the
// sanitizer build included) runs them under ctest: each file named on the
// command line, or every file in each folder named, once.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "FuzzCase.h"

namespace {

bool Replay(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        std::cerr << "cannot read " << file << '\n';
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    std::cout << file.filename().string() << std::endl;
    tavrin::fuzz::RunCaseBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    bool ok = true;
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file()) {
                    ok = Replay(entry.path()) && ok;
                    ++replayed;
                }
        } else {
            ok = Replay(path) && ok;
            ++replayed;
        }
    }
    std::cout << replayed << " inputs replayed\n";
    return ok ? 0 : 1;
}
