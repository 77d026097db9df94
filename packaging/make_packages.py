#!/usr/bin/python3
"""The packages that deployment tools take, from the built disk (scripts/package).

  make_packages.py <disk folder> <custom action dll> <product.h> <output folder>

Writes into the output folder:
  mlxidecd-<version>.msi           Windows Installer package (wixl)
  mlxidecd-<version>-disk.zip      the disk, as winget downloads it
  winget/                          the winget manifests (version, installer, locale)
  chocolatey/                      the Chocolatey package source (nuspec, tools/)
  intune/detect-mlxidecd.ps1       the Intune detection script
Every package takes the product's version from product.h and the version the
uninstall entry will show (the driver file's) from the disk's driver.
"""
import hashlib
import os
import re
import shutil
import subprocess
import sys
import uuid
import zipfile

import pefile
import yaml

PRODUCT_KEY = "Merlox IDE CD-ROM Drive"  # the uninstall entry's key, and the product's name
PUBLISHER = "Merlox"
PACKAGE_ID = "Merlox.IDECDROMDrive"
CHOCOLATEY_ID = "mlxidecd"
SUMMARY = "Installs the Merlox IDE CD-ROM drive's device driver."
DISK_FOLDER = PRODUCT_KEY + " Package"  # the MSI's copy of the disk, beside the product's folder
# The same for every version, so that a newer package replaces an older one.
UPGRADE_CODE = "{6E0C3A55-2B4D-4F4B-9D8E-3C1A7B5E2F10}"
NAMESPACE = uuid.UUID("0f6b4c1e-59a2-4d8e-a7c4-2b9f31d0e6a8")
INSTALL_CODES = {3010: "rebootRequiredToFinish", 1641: "rebootInitiated",
                 1618: "installInProgress"}
UNINSTALL_ENTRY = r"SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall" + "\\" + PRODUCT_KEY


def product_version(header):
    text = open(header, encoding="ascii").read()
    found = re.search(r'#define PRODUCT_VERSION_TEXT "([0-9.]+)"', text)
    if not found:
        sys.exit(f"make_packages.py: no PRODUCT_VERSION_TEXT in {header}")
    return found.group(1)


def file_version(path):
    image = pefile.PE(path, fast_load=True)
    image.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    for info in getattr(image, "VS_FIXEDFILEINFO", []) or []:
        ms, ls = info.FileVersionMS, info.FileVersionLS
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    sys.exit(f"make_packages.py: {path} has no version resource")


def disk_files(disk):
    names = sorted(n for n in os.listdir(disk) if os.path.isfile(os.path.join(disk, n)))
    if "setup.exe" not in names or "uninstall.exe" not in names:
        sys.exit(f"make_packages.py: {disk} is no built disk (setup.exe, uninstall.exe)")
    return names


def guid(text):
    return "{" + str(uuid.uuid5(NAMESPACE, text)).upper() + "}"


def xml(text):
    return text.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")


def write_msi(disk, names, action, version, out):
    files = "\n".join(
        f'            <File Id="f{i}" Name="{xml(n)}" Source="{xml(os.path.relpath(os.path.join(disk, n), out))}"'
        + (' KeyPath="yes"' if n == "setup.exe" else "") + "/>"
        for i, n in enumerate(names))
    # The deferred actions read their folder and the UI level from
    # CustomActionData, which the immediate action of their name sets.
    wxs = f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="{guid('product ' + version)}" Name="{PRODUCT_KEY}" Language="1033"
           Version="{version}" Manufacturer="{PUBLISHER}" UpgradeCode="{UPGRADE_CODE}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"
             Description="{PRODUCT_KEY} {version}" Comments="{SUMMARY}"/>
    <Media Id="1" Cabinet="disk.cab" EmbedCab="yes"/>
    <!-- Programs and Features lists setup's own entry; this one would be a second. -->
    <Property Id="ARPSYSTEMCOMPONENT" Value="1"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="DISKDIR" Name="{DISK_FOLDER}">
          <Component Id="Disk" Guid="{guid('disk component')}">
{files}
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Driver" Title="{PRODUCT_KEY}" Level="1">
      <ComponentRef Id="Disk"/>
    </Feature>
    <Binary Id="SetupAction" SourceFile="{xml(os.path.relpath(action, out))}"/>
    <CustomAction Id="InstallDriverData" Property="InstallDriver" Value="[DISKDIR]|[UILevel]"/>
    <CustomAction Id="InstallDriver" BinaryKey="SetupAction" DllEntry="InstallDriver"
                  Execute="deferred" Impersonate="no" Return="check"/>
    <CustomAction Id="RemoveDriverData" Property="RemoveDriver" Value="[DISKDIR]|[UILevel]"/>
    <CustomAction Id="RemoveDriver" BinaryKey="SetupAction" DllEntry="RemoveDriver"
                  Execute="deferred" Impersonate="no" Return="check"/>
    <InstallExecuteSequence>
      <Custom Action="RemoveDriverData" After="InstallInitialize">REMOVE~="ALL"</Custom>
      <Custom Action="RemoveDriver" After="RemoveDriverData">REMOVE~="ALL"</Custom>
      <Custom Action="InstallDriverData" After="InstallFiles">NOT REMOVE~="ALL"</Custom>
      <Custom Action="InstallDriver" After="InstallDriverData">NOT REMOVE~="ALL"</Custom>
    </InstallExecuteSequence>
  </Product>
</Wix>
"""
    source = os.path.join(out, "mlxidecd.wxs")
    open(source, "w", encoding="utf-8").write(wxs)
    msi = os.path.join(out, f"mlxidecd-{version}.msi")
    # wixl takes the files' paths relative to where it runs.
    subprocess.run(["wixl", "-a", "x86", "-o", msi, source], check=True, cwd=out)
    os.remove(source)
    return msi


def write_zip(disk, names, version, out):
    path = os.path.join(out, f"mlxidecd-{version}-disk.zip")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            archive.write(os.path.join(disk, name), name)
    return path


def yaml_file(path, manifest_type, data):
    with open(path, "w", encoding="utf-8") as f:
        f.write(f"# winget {manifest_type} manifest of {PRODUCT_KEY}, written by scripts/package\n")
        yaml.safe_dump(data, f, sort_keys=False, allow_unicode=True)


def write_winget(zip_path, version, entry_version, base_url, out):
    folder = os.path.join(out, "winget")
    os.makedirs(folder, exist_ok=True)
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    yaml_file(os.path.join(folder, f"{PACKAGE_ID}.yaml"), "version", {
        **common, "DefaultLocale": "en-US", "ManifestType": "version", "ManifestVersion": "1.12.0"})
    yaml_file(os.path.join(folder, f"{PACKAGE_ID}.locale.en-US.yaml"), "defaultLocale", {
        **common, "PackageLocale": "en-US", "Publisher": PUBLISHER, "PackageName": PRODUCT_KEY,
        "License": "Proprietary", "ShortDescription": SUMMARY,
        "ManifestType": "defaultLocale", "ManifestVersion": "1.12.0"})
    sha256 = hashlib.sha256(open(zip_path, "rb").read()).hexdigest().upper()
    # setup.exe needs the disk's other files beside it: winget gets the disk as
    # a zip and runs setup.exe from it.
    yaml_file(os.path.join(folder, f"{PACKAGE_ID}.installer.yaml"), "installer", {
        **common,
        "InstallerType": "zip",
        "NestedInstallerType": "exe",
        "NestedInstallerFiles": [{"RelativeFilePath": "setup.exe"}],
        "Scope": "machine",
        "InstallModes": ["interactive", "silent", "silentWithProgress"],
        "InstallerSwitches": {"Silent": "/quiet /norestart",
                              "SilentWithProgress": "/passive /norestart",
                              "Log": '/log "<LOGPATH>"'},
        "ExpectedReturnCodes": [{"InstallerReturnCode": code, "ReturnResponse": response}
                                for code, response in INSTALL_CODES.items()],
        "UpgradeBehavior": "install",
        "ElevationRequirement": "elevatesSelf",
        "ProductCode": PRODUCT_KEY,
        "AppsAndFeaturesEntries": [{"DisplayName": PRODUCT_KEY, "Publisher": PUBLISHER,
                                    "DisplayVersion": entry_version, "ProductCode": PRODUCT_KEY}],
        "Installers": [{"Architecture": "x86",
                        "InstallerUrl": f"{base_url}/{os.path.basename(zip_path)}",
                        "InstallerSha256": sha256}],
        "ManifestType": "installer", "ManifestVersion": "1.12.0"})


CHOCOLATEY_INSTALL = """# Installs the driver from the disk in tools\\disk (scripts/package wrote this file).
$ErrorActionPreference = 'Stop'
$toolsDir = Split-Path -Parent $MyInvocation.MyCommand.Definition
$log = Join-Path $env:TEMP 'mlxidecd-setup.log'
Install-ChocolateyInstallPackage -PackageName '@ID@' -FileType 'exe' `
  -File (Join-Path $toolsDir 'disk\\setup.exe') `
  -SilentArgs "/quiet /norestart /log `"$log`"" `
  -ValidExitCodes @(0, 3010, 1641)
"""

CHOCOLATEY_UNINSTALL = """# Removes the driver with the uninstaller its uninstall entry names (scripts/package wrote this file).
$ErrorActionPreference = 'Stop'
[array]$key = Get-UninstallRegistryKey -SoftwareName '@NAME@'
if ($key.Count -eq 1) {
  Uninstall-ChocolateyPackage -PackageName '@ID@' -FileType 'exe' -SilentArgs '/quiet /norestart' `
    -File ($key[0].UninstallString -replace '"', '') -ValidExitCodes @(0, 3010, 1641, 1605)
} else {
  Write-Warning "@NAME@ has $($key.Count) uninstall entries; nothing was removed."
}
"""


def write_chocolatey(disk, names, version, out):
    folder = os.path.join(out, "chocolatey")
    tools = os.path.join(folder, "tools")
    os.makedirs(os.path.join(tools, "disk"), exist_ok=True)
    for name in names:
        shutil.copy2(os.path.join(disk, name), os.path.join(tools, "disk", name))
    fill = {"@ID@": CHOCOLATEY_ID, "@NAME@": PRODUCT_KEY}
    for name, text in (("chocolateyInstall.ps1", CHOCOLATEY_INSTALL),
                       ("chocolateyUninstall.ps1", CHOCOLATEY_UNINSTALL)):
        for mark, value in fill.items():
            text = text.replace(mark, value)
        open(os.path.join(tools, name), "w", encoding="utf-8", newline="\r\n").write(text)
    nuspec = f"""<?xml version="1.0" encoding="utf-8"?>
<package xmlns="http://schemas.microsoft.com/packaging/2015/06/nuspec.xsd">
  <metadata>
    <id>{CHOCOLATEY_ID}</id>
    <version>{version}</version>
    <title>{PRODUCT_KEY}</title>
    <authors>{PUBLISHER}</authors>
    <description>{SUMMARY} Runs the installation disk's setup.exe quietly; exit code 3010 asks for a restart.</description>
    <tags>driver cdrom admin</tags>
  </metadata>
  <files>
    <file src="tools\\**" target="tools" />
  </files>
</package>
"""
    open(os.path.join(folder, f"{CHOCOLATEY_ID}.nuspec"), "w", encoding="utf-8").write(nuspec)


INTUNE_DETECTION = """# Intune detection script of @NAME@ (scripts/package wrote it for @VERSION@).
# Detected: one line of output and exit code 0. Not detected: no output, exit code 1.
# The uninstall entry is in the 32-bit view of the registry; this looks in both
# views, so that it works whether Intune runs it as a 32-bit or a 64-bit process.
$wanted = [version]'@VERSION@'
$key = '@KEY@'
$entry = $null
foreach ($root in 'HKLM:\\SOFTWARE\\WOW6432Node', 'HKLM:\\SOFTWARE') {
  $path = Join-Path $root ($key -replace '^SOFTWARE\\\\', '')
  $entry = Get-ItemProperty -LiteralPath $path -ErrorAction SilentlyContinue
  if ($entry) { break }
}
if (-not $entry -or -not $entry.DisplayVersion) { exit 1 }
$installed = $null
if (-not [version]::TryParse($entry.DisplayVersion, [ref]$installed) -or $installed -lt $wanted) { exit 1 }

# The driver's state after the restart, as the check at the next start of
# Windows (or setup.exe /verify) left it in DriverState: a running driver, or
# a check still waiting for that restart, counts; a driver that did not start,
# or an update that was put back ("previous version V restored"), does not.
# An entry of an earlier setup has no DriverState: the version alone decides.
function Test-DriverState($entry) {
  $state = $entry.DriverState
  if (-not $state) { return $true }
  return $state -eq 'running' -or $state -eq 'check pending'
}

if (-not (Test-DriverState $entry)) { exit 1 }
Write-Output "@NAME@ $($entry.DisplayVersion) is installed"
exit 0
"""


def write_intune(entry_version, out):
    folder = os.path.join(out, "intune")
    os.makedirs(folder, exist_ok=True)
    text = INTUNE_DETECTION
    for mark, value in (("@NAME@", PRODUCT_KEY), ("@VERSION@", entry_version),
                        ("@KEY@", UNINSTALL_ENTRY)):
        text = text.replace(mark, value)
    open(os.path.join(folder, "detect-mlxidecd.ps1"), "w", encoding="utf-8",
         newline="\r\n").write(text)


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    disk, action, header, out = sys.argv[1:]
    version = product_version(header)
    entry_version = file_version(os.path.join(disk, "mlxidecd.SYS"))
    base_url = os.environ.get("PACKAGE_BASE_URL", "https://downloads.example/mlxidecd").rstrip("/")
    names = disk_files(disk)
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    msi = write_msi(disk, names, action, version, out)
    archive = write_zip(disk, names, version, out)
    write_winget(archive, version, entry_version, base_url, out)
    write_chocolatey(disk, names, version, out)
    write_intune(entry_version, out)
    print(f"package: {out}: {os.path.basename(msi)}, {os.path.basename(archive)}, winget/, "
          f"chocolatey/, intune/ (version {version}, the entry's DisplayVersion {entry_version})")


if __name__ == "__main__":
    main()
