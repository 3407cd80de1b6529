// Runs a fuzz target's entry point once on each file of the folders or files named on the
// command line, without the fuzzer: the seeds replayed as an ordinary test (and under the
// sanitizers in their build). A crash or a sanitizer report fails the test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace
{

int replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                replayed += replay(entry.path());
        } else {
            replayed += replay(path);
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    // No inputs means the seeds were not made: that must not pass as a clean run.
    return replayed > 0 ? 0 : 1;
}
