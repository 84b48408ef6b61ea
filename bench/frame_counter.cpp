// Counts the frames a window puts on an Xvfb screen: reads a strip of the frame-buffer file
// (Xvfb -fbdir) every half millisecond and counts the times it changed, for a given time.
// Run: frame_counter FILE OFFSET LENGTH SECONDS      prints the count
// The strip is chosen where every frame changes something (a row the crosshair crosses, the
// row of a label that shows the pointer). Frames closer than half a millisecond count as one.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: frame_counter FILE OFFSET LENGTH SECONDS\n");
        return 2;
    }
    const int fd = ::open(argv[1], O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::perror(argv[1]);
        return 2;
    }
    const auto offset = static_cast<off_t>(std::strtoll(argv[2], nullptr, 10));
    const auto length = static_cast<std::size_t>(std::strtoull(argv[3], nullptr, 10));
    const double seconds = std::strtod(argv[4], nullptr);
    std::vector<char> last(length);
    std::vector<char> now(length);
    if (::pread(fd, last.data(), length, offset) != static_cast<ssize_t>(length)) {
        std::perror("pread");
        return 2;
    }
    long frames = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        if (::pread(fd, now.data(), length, offset) != static_cast<ssize_t>(length)) {
            std::perror("pread");
            return 2;
        }
        if (now != last) {
            ++frames;
            now.swap(last);
        }
    }
    std::printf("%ld\n", frames);
    ::close(fd);
    return 0;
}
