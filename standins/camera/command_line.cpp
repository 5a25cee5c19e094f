#include "command_line.h"

#include <arpa/inet.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

namespace camsim {

const char* const kUsage =
    "usage: camsim [options]\n"
    "Serves simulated face-recognition cameras until SIGINT or SIGTERM.\n"
    "\n"
    "  --cameras N          N cameras on consecutive addresses (default 3)\n"
    "  --first ADDR         address of the first camera (default 127.0.0.2)\n"
    "  --config FILE        cameras from a JSON file: {\"cameras\":[{\"address\":..,\"user\":..,\n"
    "                       "
    "\"password\":..,\"serial\":\"hex\",\"firmware\":..,\"libraries\":[..]}]}\n"
    "  --user NAME          user name of the cameras made by --cameras (default admin)\n"
    "  --password TEXT      their password (default admin)\n"
    "  --firmware TEXT      their firmware version text\n"
    "  --http-port N        HTTP port (default 8089)\n"
    "  --tcp-port N         binary channel port (default 80)\n"
    "  --extract-ms N       feature extraction time per picture (default 20)\n"
    "  --first-imgid N      identifier of the first stored picture (default 1001)\n"
    "  --state DIR          keep libraries, pictures and settings in DIR between runs\n"
    "  --search             answer LAN searches (only inside a private network namespace)\n"
    "  --fault FAULT        kind[:value][@path][#times], kinds: latency, noanswer, drop,\n"
    "                       status, malformed, truncated, overrun;\n"
    "                       e.g. status:500@/common/config#2\n"
    "  --refuse-login       refuse every login on the binary channel\n"
    "  --refuse-upgrade     refuse firmware upgrades\n"
    "  --silent-upgrade     take firmware upgrades without ever answering\n"
    "  --channel-fault KIND binary channel misbehaviour: silent-handshake, short-reply,\n"
    "                       close-mid-upgrade\n"
    "  --delete-delay-ms N  take N ms to delete a library\n"
    "  --help               this text\n";

namespace {

long long toInt64(const std::string& option, const std::string& text, long long min,
                  long long max) {
    size_t used = 0;
    long long value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || value < min || value > max)
        throw std::runtime_error(option + " wants a number from " + std::to_string(min) + " to " +
                                 std::to_string(max));
    return value;
}

int toInt(const std::string& option, const std::string& text, int min, int max) {
    return static_cast<int>(toInt64(option, text, min, max));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct FlagCameras {
    int count = 3;
    std::string first = "127.0.0.2";
    CameraConfig base;
    std::string configFile;
};

std::vector<CameraConfig> makeCameras(const FlagCameras& f) {
    if (!f.configFile.empty()) return parseCameraConfigs(readFile(f.configFile));
    in_addr first{};
    if (inet_pton(AF_INET, f.first.c_str(), &first) != 1)
        throw std::runtime_error("--first wants an IPv4 address");
    std::vector<CameraConfig> cameras;
    for (int i = 0; i < f.count; ++i) {
        in_addr a{htonl(ntohl(first.s_addr) + static_cast<uint32_t>(i))};
        char text[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &a, text, sizeof text);
        CameraConfig c = f.base;
        c.address = text;
        c.serial = f.base.serial ^ ntohl(a.s_addr);
        c.complete();
        cameras.push_back(c);
    }
    return cameras;
}

}  // namespace

CommandOptions parseCommandLine(const std::vector<std::string>& args) {
    CommandOptions o;
    FlagCameras f;
    using Setter = std::function<void(const std::string&)>;
    const std::map<std::string, Setter> valued = {
        {"--cameras", [&](const std::string& v) { f.count = toInt("--cameras", v, 1, 250); }},
        {"--first", [&](const std::string& v) { f.first = v; }},
        {"--config", [&](const std::string& v) { f.configFile = v; }},
        {"--user", [&](const std::string& v) { f.base.user = v; }},
        {"--password", [&](const std::string& v) { f.base.password = v; }},
        {"--firmware", [&](const std::string& v) { f.base.firmware = v; }},
        {"--http-port",
         [&](const std::string& v) {
             f.base.httpPort = static_cast<uint16_t>(toInt("--http-port", v, 1, 65535));
         }},
        {"--tcp-port",
         [&](const std::string& v) {
             f.base.tcpPort = static_cast<uint16_t>(toInt("--tcp-port", v, 1, 65535));
         }},
        {"--extract-ms",
         [&](const std::string& v) {
             f.base.extractMsPerImage = toInt("--extract-ms", v, 0, 60000);
         }},
        {"--first-imgid",
         [&](const std::string& v) {
             f.base.firstImgid = toInt64("--first-imgid", v, 1, CameraConfig::kMaxFirstImgid);
         }},
        {"--state", [&](const std::string& v) { o.stateDir = v; }},
        {"--delete-delay-ms",
         [&](const std::string& v) { o.deleteDelayMs = toInt("--delete-delay-ms", v, 0, 600000); }},
        {"--channel-fault",
         [&](const std::string& v) {
             static const std::map<std::string, ChannelFault> kinds = {
                 {"silent-handshake", ChannelFault::SilentHandshake},
                 {"short-reply", ChannelFault::ShortReply},
                 {"close-mid-upgrade", ChannelFault::CloseMidUpgrade}};
             auto kind = kinds.find(v);
             if (kind == kinds.end()) throw std::runtime_error("--channel-fault: unknown " + v);
             o.channelFault = kind->second;
         }},
        {"--fault",
         [&](const std::string& v) {
             auto fault = parseFault(v);
             if (!fault) throw std::runtime_error("--fault: cannot read \"" + v + "\"");
             o.faults.push_back(*fault);
         }},
    };
    const std::map<std::string, bool*> switches = {{"--search", &f.base.search},
                                                   {"--refuse-login", &o.refuseLogin},
                                                   {"--refuse-upgrade", &o.refuseUpgrade},
                                                   {"--silent-upgrade", &o.silentUpgrade},
                                                   {"--help", &o.help}};
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (auto s = switches.find(arg); s != switches.end()) {
            *s->second = true;
        } else if (auto v = valued.find(arg); v != valued.end()) {
            if (i + 1 >= args.size()) throw std::runtime_error(arg + " wants a value");
            v->second(args[++i]);
        } else {
            throw std::runtime_error("unknown option " + arg);
        }
    }
    if (!o.help) o.cameras = makeCameras(f);
    return o;
}

}  // namespace camsim
