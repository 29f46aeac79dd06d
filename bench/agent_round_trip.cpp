// The agent end to end, as the print server sees it: the job's terminator written -> the ticket
// in the spool folder -> the status reply read. p50 and p99 for a kitchen order, a 60-item and a
// 1000-item bill, and jobs a second back to back. Several agent programs (say, before and after a
// change) are measured in turns, round after round, so that they meet the same machine.
//
// bench_agent_round_trip --agent PROGRAM [--agent PROGRAM...] [--rounds N] [--samples N]
//                        [--burst N] [--prefill FILES]
// --prefill puts that many files into the kitchen printer's folder before the agent starts.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_jobs.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

[[noreturn]] void Die(const std::string& what) {
  std::fprintf(stderr, "bench_agent_round_trip: %s\n", what.c_str());
  std::exit(1);
}

struct Options {
  std::vector<std::string> agents;
  int rounds = 3;
  int samples = 40;
  int burst = 100;
  long prefill = 0;
};

struct Job {
  std::string name;
  std::string printer;
  std::string text;  // with its terminator
};

// One agent on folders of its own, talking to us as its print server.
class AgentUnderTest {
 public:
  AgentUnderTest(const std::string& program, long prefill) {
    std::random_device seed;
    root_ = fs::temp_directory_path() / ("quillon-roundtrip-" + std::to_string(seed()));
    for (const char* printer : {"Cocina", "Bar", "Facturas"}) {
      fs::create_directories(root_ / "spool" / printer);
    }
    fs::create_directories(root_ / "data");
    fs::copy_file(std::string(QUILLON_SOURCE_DIR) + "/examples/jobs/data/Acceso",
                  root_ / "data" / "Acceso");
    for (long i = 1; i <= prefill; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "%06ld.txt", i);
      std::ofstream(root_ / "spool" / "Cocina" / name) << "x\n";
    }
    next_["Cocina"] = prefill + 1;

    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 1) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      Die("no se pudo escuchar");
    }
    const std::string server = "127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    pid_ = fork();
    if (pid_ == 0) {
      const std::string spool = (root_ / "spool").string(), data = (root_ / "data").string();
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "r", stdin);
      execl(program.c_str(), program.c_str(), "--headless", "--server", server.c_str(), "--spool",
            spool.c_str(), "--default-printer", "Facturas", "--data-dir", data.c_str(),
            "--encoding", "utf-8", static_cast<char*>(nullptr));
      _exit(127);
    }
    connection_ = accept(listener_, nullptr, nullptr);
    const int one = 1;
    setsockopt(connection_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    WaitFor("\"type\":\"id\"", 1);
    inotify_ = inotify_init1(IN_CLOEXEC);
    for (const char* printer : {"Cocina", "Facturas"}) {
      inotify_add_watch(inotify_, (root_ / "spool" / printer).c_str(), IN_MOVED_TO);
    }
  }

  ~AgentUnderTest() {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    close(connection_);
    close(listener_);
    close(inotify_);
    std::error_code error;
    fs::remove_all(root_, error);
  }

  // Microseconds from the terminator written to the ticket's .txt in place and to the status.
  std::pair<double, double> RoundTrip(const Job& job) {
    char name[32];
    std::snprintf(name, sizeof name, "%06ld.txt", next_[job.printer]++);
    Send(job.text);
    const Clock::time_point sent = Clock::now();
    WaitForFile(name);
    const Clock::time_point printed = Clock::now();
    WaitFor("\"status\"", 1);
    const Clock::time_point answered = Clock::now();
    auto micros = [&](Clock::time_point t) {
      return std::chrono::duration<double, std::micro>(t - sent).count();
    };
    return {micros(printed), micros(answered)};
  }

  // Jobs a second, `count` jobs written at once and all answered.
  double Burst(const Job& job, int count) {
    std::string all;
    for (int i = 0; i < count; ++i) all += job.text;
    next_[job.printer] += count;
    const Clock::time_point start = Clock::now();
    Send(all);
    WaitFor("\"status\"", count);
    return count / std::chrono::duration<double>(Clock::now() - start).count();
  }

 private:
  void Send(const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
      const ssize_t sent = write(connection_, bytes.data() + at, bytes.size() - at);
      if (sent <= 0) Die("el agente cerro la conexion");
      at += static_cast<std::size_t>(sent);
    }
  }

  void WaitFor(const std::string& marker, int count) {
    while (count > 0) {
      const std::size_t found = received_.find(marker);
      if (found != std::string::npos) {
        received_.erase(0, found + marker.size());
        --count;
        continue;
      }
      char buffer[4096];
      pollfd ready{connection_, POLLIN, 0};
      if (poll(&ready, 1, 60000) != 1) Die("el agente no respondio en 60 s");
      const ssize_t got = read(connection_, buffer, sizeof buffer);
      if (got <= 0) Die("el agente cerro la conexion");
      received_.append(buffer, static_cast<std::size_t>(got));
    }
  }

  void WaitForFile(const std::string& name) {
    alignas(inotify_event) char buffer[4096];
    while (true) {
      pollfd ready{inotify_, POLLIN, 0};
      if (poll(&ready, 1, 60000) != 1) Die("no aparecio " + name);
      const ssize_t got = read(inotify_, buffer, sizeof buffer);
      for (char* at = buffer; at < buffer + got;) {
        const auto* event = reinterpret_cast<inotify_event*>(at);
        if (event->len > 0 && name == event->name) return;
        at += sizeof(inotify_event) + event->len;
      }
    }
  }

  fs::path root_;
  pid_t pid_ = -1;
  int listener_ = -1;
  int connection_ = -1;
  int inotify_ = -1;
  std::string received_;
  std::map<std::string, long> next_{{"Cocina", 1}, {"Facturas", 1}};
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(std::lround(p * static_cast<double>(values.size() - 1)));
  return values[at];
}

double Median(std::vector<double> values) { return Percentile(std::move(values), 0.5); }

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i], value = argv[i + 1];
    if (flag == "--agent")
      options.agents.push_back(value);
    else if (flag == "--rounds")
      options.rounds = std::stoi(value);
    else if (flag == "--samples")
      options.samples = std::stoi(value);
    else if (flag == "--burst")
      options.burst = std::stoi(value);
    else if (flag == "--prefill")
      options.prefill = std::stol(value);
    else
      Die("opcion desconocida " + flag);
  }
  if (options.agents.empty()) Die("falta --agent");
  signal(SIGPIPE, SIG_IGN);

  const std::string end = "_endMessage_";
  const std::vector<Job> jobs = {
      {"comanda", "Cocina", quillon::bench::KitchenOrderJob() + end},
      {"factura 60", "Facturas", quillon::bench::InvoiceJob(60) + end},
      {"factura 1000", "Facturas", quillon::bench::InvoiceJob(1000) + end}};

  // samples[agent][job] = (to spool, to status) in microseconds; bursts[agent] = jobs a second.
  std::vector<std::vector<std::pair<std::vector<double>, std::vector<double>>>> samples(
      options.agents.size(),
      std::vector<std::pair<std::vector<double>, std::vector<double>>>(jobs.size()));
  std::vector<std::vector<double>> bursts(options.agents.size());
  for (int round = 0; round < options.rounds; ++round) {
    for (std::size_t a = 0; a < options.agents.size(); ++a) {
      AgentUnderTest agent(options.agents[a], options.prefill);
      for (std::size_t j = 0; j < jobs.size(); ++j) {
        agent.RoundTrip(jobs[j]);  // warm-up, not counted
        for (int s = 0; s < options.samples; ++s) {
          const auto [spool, status] = agent.RoundTrip(jobs[j]);
          samples[a][j].first.push_back(spool);
          samples[a][j].second.push_back(status);
        }
      }
      bursts[a].push_back(agent.Burst(jobs[0], options.burst));
    }
  }

  std::printf("%-14s %-36s %12s %12s %12s %12s\n", "trabajo", "agente", "spool p50", "spool p99",
              "estado p50", "estado p99");
  for (std::size_t j = 0; j < jobs.size(); ++j) {
    for (std::size_t a = 0; a < options.agents.size(); ++a) {
      const auto& [spool, status] = samples[a][j];
      std::printf("%-14s %-36s %10.0f us %10.0f us %10.0f us %10.0f us\n", jobs[j].name.c_str(),
                  options.agents[a].c_str(), Median(spool), Percentile(spool, 0.99), Median(status),
                  Percentile(status, 0.99));
    }
  }
  for (std::size_t a = 0; a < options.agents.size(); ++a) {
    std::printf("comandas seguidas %-36s %8.0f trabajos/s (mediana de %d rondas de %d)\n",
                options.agents[a].c_str(), Median(bursts[a]), options.rounds, options.burst);
  }
  return 0;
}
