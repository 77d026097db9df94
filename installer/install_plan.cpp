// The plan of the install, built once and first: the copy list the toolkit
// builds from "System Files" (each source and target joined there, the
// records checked there), and the uninstaller's files. The checks before any
// change, the copy, the uninstall record and the undo all read these entries.
#include "installer/installer.h"
#include "resources/product.h"
#include "support/driver_service.h"
#include "support/fatal_path.h"
#include "support/program_files.h"
#include "support/setup_paths.h"
#include "toolkit/copy_wrappers.h"

static const char kSection[] = "System Files";
static const LPCSTR kUninstallerFiles[] = {UNINSTALLER_FILES};

// The product's folder under Program Files, ending in a backslash.
static std::string ProductDir(void) {
  const std::string dir = ProgramFilesDir(SetupPaths.SystemDir) + PRODUCT_FOLDER "\\";
  if (dir.size() >= SETUP_PATH_SIZE) {
    FailWithTooLong("the product's folder under Program Files", dir.c_str(), SETUP_PATH_SIZE - 1);
  }
  return dir;
}

InstallPlan PlanInstall(void) {
  InstallPlan plan;
  EmptyCopyList();
  QueueSectionFiles(kSection, SetupPaths.SourceDir, DriversDirOf(SetupPaths.SystemDir).c_str());
  plan.driverFiles = CopyListEntries();
  // The uninstaller comes from beside setup.exe, which loaded the same libraries from there.
  char programDir[SETUP_PATH_SIZE];
  if (!ReadProgramDir(programDir)) {
    FailWithMessage("Setup cannot find its own folder to copy the uninstaller from.");
  }
  plan.productDir = ProductDir();
  for (LPCSTR name : kUninstallerFiles) {
    plan.uninstallerFiles.push_back(
        {std::string(programDir) + name, plan.productDir + name, true});
  }
  return plan;
}
