#include "tests/integration/lab_support.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "sys/fs_path.h"
#include "tests/integration/lab_process.h"

namespace {

std::string unique_folder() {
    std::random_device random;
    const auto name = "product_lab_" + std::to_string(random()) + std::to_string(random());
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder);
    return utf8_of(folder);
}

}  // namespace

ProductLab::ProductLab() : work_folder(unique_folder()) {}

ProductLab::~ProductLab() {
    if (process) stop();
    std::error_code ignored;
    std::filesystem::remove_all(fs_path(work_folder), ignored);
}

std::string ProductLab::executable() {
    return CHECKTOOL_LAB_EXECUTABLE;
}

bool ProductLab::fail(const std::string& message) {
    failure = message;
    return false;
}

bool ProductLab::start(const std::string& scenario_json) {
    if (process) return fail("the lab is already running");
    rapidjson::Document scenario;
    scenario.Parse(scenario_json.c_str());
    if (scenario.HasParseError() || !scenario.IsObject()) return fail("the scenario is not a JSON object");
    if (!scenario.HasMember("record")) {
        const std::string record_path = lab_path(work_folder + "/record.json");
        scenario.AddMember("record", rapidjson::Value(record_path.c_str(), scenario.GetAllocator()),
                           scenario.GetAllocator());
    }
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    scenario.Accept(writer);
    const std::string scenario_path = work_folder + "/scenario.json";
    std::ofstream(fs_path(scenario_path)) << buffer.GetString();

    std::string error;
    process = LabProcess::start(executable(), lab_path(scenario_path), error);
    if (!process) return fail(error);
    std::string line;
    if (!process->read_line(line)) {
        process.reset();
        return fail("the lab printed no ports (see its message above)");
    }
    ports.Parse(line.c_str());
    if (ports.HasParseError() || !ports.IsObject()) return fail("unreadable ports line: " + line);
    if (!control.Create() || !control.Connect("127.0.0.1", port("control")))
        return fail("cannot reach the lab");
    return true;
}

int ProductLab::port(const std::string& name) const {
    if (!ports.IsObject()) return 0;
    const auto found = ports.FindMember(name.c_str());
    return found != ports.MemberEnd() && found->value.IsInt() ? found->value.GetInt() : 0;
}

bool ProductLab::stop() {
    if (!process) return fail("the lab is not running");
    control.Close();
    const int status = process->wait();
    process.reset();
    if (status != 0) return fail("the lab ended with status " + std::to_string(status));
    std::ifstream file(fs_path(work_folder + "/record.json"));
    std::stringstream text;
    text << file.rdbuf();
    seen.Parse(text.str().c_str());
    if (seen.HasParseError() || !seen.IsObject()) return fail("the lab wrote no readable record");
    return true;
}
