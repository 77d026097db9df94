// The driver an install replaced, kept in the product's folder so that the
// check after the restart can put it back: its file, and a small INI file
// with its service's configuration, whether it ran and its version. Both are
// recorded in the uninstall entry like every file setup places, and the entry
// names the kept file (PreviousDriver, "<sha256> <size> <path>").
#pragma once

#include <string>

#include "platform/win32.h"
#include "support/service_config.h"

struct PreviousService : ServiceConfig {
  bool running = false;
  std::string version;  // the file's version; empty: none
};

extern const char kPreviousDriverValue[];  // the entry's value naming the kept file

// Their paths in productDir (ending in a backslash).
std::string KeptDriverPath(const std::string& productDir);
std::string KeptConfigPath(const std::string& productDir);
// The configuration file beside a kept driver file.
std::string ConfigPathOf(const std::string& keptDriver);

// False when a line cannot be written (the toolkit has logged which).
bool WriteKeptConfig(const std::string& path, const PreviousService& service);
// False when the file lacks the service's type or image path.
bool ReadKeptConfig(const std::string& path, PreviousService* service);
