// A child program for the process tests:  child OUTFILE EXITCODE SLEEPMS [ARGS...]
// Writes every argument it got (argv[0] included), each followed by a NUL byte, to OUTFILE (none
// when OUTFILE is "-"), sleeps SLEEPMS milliseconds, then exits with EXITCODE.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
  if (argc < 4) return 99;
  if (std::string(argv[1]) != "-") {
    std::ofstream out(argv[1], std::ios::binary);
    for (int i = 0; i < argc; ++i) out << argv[i] << '\0';
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[3])));
  return std::atoi(argv[2]);
}
