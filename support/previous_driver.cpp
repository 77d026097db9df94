#include "support/previous_driver.h"

#include "contract/toolkit_api.h"
#include "resources/product.h"

const char kPreviousDriverValue[] = "PreviousDriver";
static const char kSection[] = "Previous driver";
static const char kKeptStem[] = DRIVER_SERVICE_NAME ".previous";

std::string KeptDriverPath(const std::string& productDir) {
  return productDir + kKeptStem + ".SYS";
}

std::string KeptConfigPath(const std::string& productDir) {
  return productDir + kKeptStem + ".ini";
}

std::string ConfigPathOf(const std::string& keptDriver) {
  const std::size_t dot = keptDriver.rfind('.');
  return (dot == std::string::npos ? keptDriver : keptDriver.substr(0, dot)) + ".ini";
}

bool WriteKeptConfig(const std::string& path, const PreviousService& s) {
  const std::string lines[][2] = {
      {"Type", std::to_string(s.type)},
      {"Start", std::to_string(s.start)},
      {"ErrorControl", std::to_string(s.errorControl)},
      {"ImagePath", s.imagePath},
      {"Group", s.group},
      {"Running", s.running ? "1" : "0"},
      {"Version", s.version},
  };
  for (const auto& line : lines) {
    if (!FCreateIniKeyValue(path.c_str(), kSection, line[0].c_str(), line[1].c_str(),
                            cmoForceWrite)) {
      return false;
    }
  }
  return true;
}

static std::string Read(const std::string& path, LPCSTR key) {
  char value[1024] = "";
  GetPrivateProfileStringA(kSection, key, "", value, sizeof value, path.c_str());
  return value;
}

static DWORD Number(const std::string& text) {
  DWORD n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<DWORD>(c - '0');
  }
  return n;
}

bool ReadKeptConfig(const std::string& path, PreviousService* s) {
  const std::string type = Read(path, "Type");
  s->type = Number(type);
  s->start = Number(Read(path, "Start"));
  s->errorControl = Number(Read(path, "ErrorControl"));
  s->imagePath = Read(path, "ImagePath");
  s->group = Read(path, "Group");
  s->running = Read(path, "Running") == "1";
  s->version = Read(path, "Version");
  return !type.empty() && !s->imagePath.empty();
}
