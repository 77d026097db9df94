#!/usr/bin/python3
"""The packages' manifests as the tools that read them would judge them.

  check_manifests.py <packages folder> <product.h>

The winget manifests against winget's published schema (1.12.0), with what the
schema lets pass: keys it does not know, a version YAML reads as a number, a
code that is both a success and an expected return code, an exe without its
silent switches. The Chocolatey source and the Intune script are checked for
the product's version, the uninstall key and the exit codes they accept.
"""
import hashlib
import json
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

import jsonschema
import yaml

problems = []


def problem(text):
    problems.append(text)


def schema_dir(start):
    # The project's shared/ lies beside the clone (or beside its work trees).
    for up in (os.pardir, os.path.join(os.pardir, os.pardir)):
        path = os.path.normpath(os.path.join(start, up, "shared", "winget-schema"))
        if os.path.isdir(path):
            return path
    sys.exit("check_manifests.py: no shared/winget-schema beside the source tree")


def resolve(schema, root):
    while "$ref" in schema:
        schema = root["definitions"][schema["$ref"].split("/")[-1]]
    return schema


def unknown_keys(data, schema, root, where):
    """Keys the schema does not name: it leaves objects open."""
    schema = resolve(schema, root)
    if isinstance(data, dict) and "properties" in schema:
        for key, value in data.items():
            if key not in schema["properties"]:
                problem(f"{where}: unknown key {key}")
            else:
                unknown_keys(value, schema["properties"][key], root, f"{where}.{key}")
    elif isinstance(data, list) and isinstance(schema.get("items"), dict):
        for i, item in enumerate(data):
            unknown_keys(item, schema["items"], root, f"{where}[{i}]")


def check_winget(folder, version, product, schemas):
    manifests = {}
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            data = yaml.safe_load(f)
        kind = data.get("ManifestType")
        schema = json.load(open(os.path.join(schemas, f"manifest.{kind}.1.12.0.json")))
        for error in jsonschema.Draft7Validator(schema).iter_errors(data):
            problem(f"{name}: {error.json_path}: {error.message}")
        unknown_keys(data, schema, schema, name)
        manifests[kind] = data
    if sorted(manifests) != ["defaultLocale", "installer", "version"]:
        problem(f"winget: expected the version, installer and defaultLocale manifests, saw {sorted(manifests)}")
        return
    for kind, data in manifests.items():
        if data["PackageVersion"] != version:
            problem(f"winget {kind}: PackageVersion {data['PackageVersion']!r}, the product is {version}")
    installer = manifests["installer"]
    switches = installer.get("InstallerSwitches", {})
    if switches.get("Silent", "").split()[:1] != ["/quiet"] or \
            switches.get("SilentWithProgress", "").split()[:1] != ["/passive"]:
        problem(f"winget installer: silent switches {switches}")
    expected = {c["InstallerReturnCode"]: c["ReturnResponse"] for c in installer.get("ExpectedReturnCodes", [])}
    if expected.get(3010) != "rebootRequiredToFinish" or expected.get(1641) != "rebootInitiated":
        problem(f"winget installer: restart codes {expected}")
    both = set(expected) & set(installer.get("InstallerSuccessCodes", []))
    if both:
        problem(f"winget installer: {sorted(both)} both success and expected return codes")
    if installer.get("ProductCode") != product:
        problem(f"winget installer: ProductCode {installer.get('ProductCode')!r}, the uninstall key is {product!r}")
    nested = installer.get("NestedInstallerFiles", [{}])[0].get("RelativeFilePath")
    if installer.get("NestedInstallerType") != "exe" or nested != "setup.exe":
        problem(f"winget installer: the disk's setup.exe is not the installer ({nested})")
    for entry in installer["Installers"]:
        archive = os.path.join(os.path.dirname(folder), os.path.basename(entry["InstallerUrl"]))
        digest = hashlib.sha256(open(archive, "rb").read()).hexdigest().upper()
        if digest != entry["InstallerSha256"]:
            problem(f"winget installer: InstallerSha256 is not that of {archive}")


def check_chocolatey(folder, version):
    ns = {"n": "http://schemas.microsoft.com/packaging/2015/06/nuspec.xsd"}
    nuspec = ElementTree.parse(os.path.join(folder, "mlxidecd.nuspec"))
    if nuspec.findtext("n:metadata/n:version", namespaces=ns) != version:
        problem(f"chocolatey: the nuspec's version is not {version}")
    install = open(os.path.join(folder, "tools", "chocolateyInstall.ps1"), encoding="utf-8").read()
    if not re.search(r"-ValidExitCodes @\(0, 3010, 1641\)", install) or "/quiet /norestart" not in install:
        problem("chocolatey: the install script does not run /quiet /norestart accepting 0, 3010, 1641")
    if not os.path.isfile(os.path.join(folder, "tools", "disk", "setup.exe")):
        problem("chocolatey: tools\\disk holds no setup.exe")
    uninstall = open(os.path.join(folder, "tools", "chocolateyUninstall.ps1"), encoding="utf-8").read()
    if "-ValidExitCodes @(0, 3010, 1641, 1605)" not in uninstall:
        problem("chocolatey: the uninstall script does not accept 0, 3010, 1641 and 1605")


def check_intune(path, product):
    script = open(path, encoding="utf-8").read()
    if f"CurrentVersion\\Uninstall\\{product}'" not in script or "DisplayVersion" not in script:
        problem("intune: the detection script does not read the entry's DisplayVersion")
    if "WOW6432Node" not in script:
        problem("intune: the detection script does not look in the 32-bit view")
    if "$entry.DriverState" not in script or "'running'" not in script:
        problem("intune: the detection script does not read the driver's state after the restart")


def main():
    packages, header = sys.argv[1:3]
    text = open(header, encoding="ascii").read()
    version = re.search(r'#define PRODUCT_VERSION_TEXT "([0-9.]+)"', text).group(1)
    product = re.search(r'#define PRODUCT_NAME "([^"]+)"', text).group(1)
    check_winget(os.path.join(packages, "winget"), version, product,
                 schema_dir(os.path.dirname(os.path.dirname(os.path.abspath(header)))))
    check_chocolatey(os.path.join(packages, "chocolatey"), version)
    check_intune(os.path.join(packages, "intune", "detect-mlxidecd.ps1"), product)
    for text in problems:
        print("FAIL", text)
    print(f"{len(problems)} problem(s) in {packages}")
    sys.exit(1 if problems else 0)


if __name__ == "__main__":
    main()
