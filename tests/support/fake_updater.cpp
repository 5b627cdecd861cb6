// A stand-in for the external updater, copied by the tests to where the real
// updater would be. It reads fake_updater.cfg beside itself (four lines: the
// arguments file, the descriptor copy, the seconds to sleep, the done file),
// records how it was started and the descriptor it found beside itself,
// sleeps, and marks that it ended. Standard C++ only, so that one copy of it
// runs in any folder on Linux and Windows alike.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path ownPath()
{
#ifdef _WIN32
    std::wstring buffer(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    buffer.resize(length);
    return fs::path(buffer);
#else
    return fs::read_symlink("/proc/self/exe");
#endif
}

fs::path fromUtf8(const std::string &text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

} // namespace

int main(int argc, char **argv)
{
    const fs::path here = ownPath().parent_path();
    std::ifstream config(here / "fake_updater.cfg");
    std::vector<std::string> lines;
    for (std::string line; std::getline(config, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    if (lines.size() < 4)
        return 3;
    {
        std::ofstream args(fromUtf8(lines[0]), std::ios::binary);
        args << "argc=" << (argc - 1) << '\n';
        for (int i = 1; i < argc; ++i)
            args << argv[i] << '\n';
    }
    std::error_code ignored;
    fs::copy_file(here / "Ethernet_Update.xml", fromUtf8(lines[1]), fs::copy_options::overwrite_existing, ignored);
    const double seconds = std::strtod(lines[2].c_str(), nullptr);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    std::ofstream(fromUtf8(lines[3]), std::ios::binary) << "done\n";
    return 0;
}
