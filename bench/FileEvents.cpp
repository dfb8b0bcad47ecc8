// Prints the moment each file in a directory is put in place (written and
// closed, renamed into it, or linked there whole, as Qt's safe save does
// with a file that did not exist), one line "<seconds since the epoch> <name>"
// with microseconds, for the benchmarks that time when a row reaches a
// file. File times are too coarse for that: the kernel stamps them with
// its tick.
//
//   ringvakt-file-events DIRECTORY
#include <cstdio>
#include <ctime>
#include <sys/inotify.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ringvakt-file-events DIRECTORY\n");
        return 2;
    }
    const int fd = inotify_init();
    if (fd < 0 || inotify_add_watch(fd, argv[1], IN_MOVED_TO | IN_CLOSE_WRITE | IN_CREATE) < 0) {
        std::perror("ringvakt-file-events");
        return 1;
    }
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return 1;
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (event->len > 0)
                std::printf("%lld.%06ld %s\n", static_cast<long long>(now.tv_sec),
                            now.tv_nsec / 1000, event->name);
            p += sizeof(inotify_event) + event->len;
        }
        std::fflush(stdout);
    }
}
