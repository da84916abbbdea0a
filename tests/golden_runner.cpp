// golden_runner.cpp — end-to-end cases: BASIC programs and typed sessions run
// through `vornbasic --tty`, compared byte for byte with what they must print
// and the files they must leave.
//
// A case is tests/golden/<area>/<name>.bas (a program run as the start-up file)
// or <name>.in without a .bas (a session typed at the prompt). Beside it:
//   <name>.in       stdin (typed lines; for programs, answers to input)
//   <name>.out      the exact stdout
//   <name>.status   the exit status (0 when absent)
//   <name>.err      the exact stderr (not compared when absent)
//   <name>.args     extra command-line arguments, blank-separated
//   <name>.files/   copied into the working folder before the run
//   <name>.expect/  files the run must leave, compared byte for byte
// Runs use --seed 1 and a device root of ./root inside the working folder.
// VORN_UPDATE_GOLDEN=1 rewrites .out and .status from the actual run.
//
// Golden.SameInReferenceMode runs a case twice, once as usual and once with
// VORNBASIC_REFERENCE=1 (every token read from the text again, no caches),
// and requires the same stdout, exit status and working folder, byte for byte.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Case {
  std::string name;  // area_name, for the test name
  fs::path base;     // path without extension
  bool program;      // a .bas exists
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::vector<Case> find_cases() {
  std::vector<Case> cases;
  for (const auto& entry : fs::recursive_directory_iterator(GOLDEN_DIR)) {
    if (!entry.is_regular_file()) continue;
    fs::path p = entry.path();
    std::string ext = p.extension().string();
    if (p.parent_path().extension() == ".files" || p.parent_path().extension() == ".expect") continue;
    bool program = ext == ".bas";
    bool session = ext == ".in" && !fs::exists(fs::path(p).replace_extension(".bas"));
    if (!program && !session) continue;
    fs::path base = fs::path(p).replace_extension();
    std::string rel = fs::relative(base, GOLDEN_DIR).string();
    for (char& c : rel)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    cases.push_back({rel, base, program});
  }
  std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
  return cases;
}

std::string read_all(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void write_all(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

struct RunResult {
  std::string out;
  std::string err;
  int status = -1;
  bool timed_out = false;
};

RunResult run(const Case& c, const fs::path& work, bool reference = false) {
  std::vector<std::string> args = {VORNBASIC_BIN, "--tty", "--seed", "1", "--root", (work / "root").string()};
  fs::path args_file = fs::path(c.base).replace_extension(".args");
  if (fs::exists(args_file)) {
    std::istringstream words(read_all(args_file));
    for (std::string w; words >> w;) args.push_back(w);
  }
  if (c.program) args.push_back(fs::path(c.base).replace_extension(".bas").string());
  fs::path in_file = fs::path(c.base).replace_extension(".in");
  std::string stdin_path = fs::exists(in_file) ? in_file.string() : "/dev/null";
  fs::path err_file = work / ".stderr";

  int out_pipe[2];
  if (pipe(out_pipe) != 0) return {};
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(work.c_str()) != 0) _exit(126);
    if (reference) setenv("VORNBASIC_REFERENCE", "1", 1);
    else unsetenv("VORNBASIC_REFERENCE");
    int in = open(stdin_path.c_str(), O_RDONLY);
    int err = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(in, 0);
    dup2(out_pipe[1], 1);
    dup2(err, 2);
    close(out_pipe[0]);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  RunResult r;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      r.timed_out = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd pfd{out_pipe[0], POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    ssize_t n = read(out_pipe[0], buffer, sizeof buffer);
    if (n <= 0) break;
    r.out.append(buffer, static_cast<std::size_t>(n));
  }
  close(out_pipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.err = read_all(err_file);
  return r;
}

class Golden : public testing::TestWithParam<Case> {};

TEST_P(Golden, Run) {
  const Case& c = GetParam();
  fs::path work = fs::temp_directory_path() / ("vorn-golden-" + c.name + "-" + std::to_string(getpid()));
  fs::remove_all(work);
  fs::create_directories(work / "root");
  fs::path files = fs::path(c.base).concat(".files");
  if (fs::exists(files)) fs::copy(files, work, fs::copy_options::recursive);

  RunResult r = run(c, work);
  ASSERT_FALSE(r.timed_out) << "timed out; output so far:\n" << r.out;

  fs::path out_file = fs::path(c.base).replace_extension(".out");
  fs::path status_file = fs::path(c.base).replace_extension(".status");
  if (std::getenv("VORN_UPDATE_GOLDEN")) {
    write_all(out_file, r.out);
    if (r.status != 0) write_all(status_file, std::to_string(r.status) + "\n");
    else fs::remove(status_file);
  }
  int expected_status = fs::exists(status_file) ? std::atoi(read_all(status_file).c_str()) : 0;
  EXPECT_EQ(r.out, read_all(out_file)) << "stderr:\n" << r.err;
  EXPECT_EQ(r.status, expected_status) << "stderr:\n" << r.err;
  fs::path err_file = fs::path(c.base).replace_extension(".err");
  if (fs::exists(err_file)) {
    EXPECT_EQ(r.err, read_all(err_file));
  }

  fs::path expect = fs::path(c.base).concat(".expect");
  if (fs::exists(expect)) {
    for (const auto& e : fs::recursive_directory_iterator(expect)) {
      if (!e.is_regular_file()) continue;
      fs::path rel = fs::relative(e.path(), expect);
      ASSERT_TRUE(fs::exists(work / rel)) << rel << " was not written";
      EXPECT_EQ(read_all(work / rel), read_all(e.path())) << "file " << rel;
    }
  }
  if (!HasFailure()) fs::remove_all(work);
}

// Every file under a folder, by relative path, with its bytes.
std::map<std::string, std::string> folder_contents(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().filename() == ".stderr") continue;
    files[fs::relative(e.path(), dir).string()] = read_all(e.path());
  }
  return files;
}

TEST_P(Golden, SameInReferenceMode) {
  const Case& c = GetParam();
  RunResult runs[2];
  std::map<std::string, std::string> folders[2];
  for (int reference = 0; reference < 2; ++reference) {
    fs::path work = fs::temp_directory_path() /
                    ("vorn-differential-" + c.name + "-" + std::to_string(reference) + "-" + std::to_string(getpid()));
    fs::remove_all(work);
    fs::create_directories(work / "root");
    fs::path files = fs::path(c.base).concat(".files");
    if (fs::exists(files)) fs::copy(files, work, fs::copy_options::recursive);
    runs[reference] = run(c, work, reference == 1);
    folders[reference] = folder_contents(work);
    fs::remove_all(work);
  }
  ASSERT_FALSE(runs[0].timed_out || runs[1].timed_out);
  EXPECT_EQ(runs[0].out, runs[1].out);
  EXPECT_EQ(runs[0].status, runs[1].status);
  EXPECT_EQ(folders[0], folders[1]);
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(find_cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
