#!/usr/bin/env python3
"""Makes the files a vendor server would hold under /download/: every package
file of the installer (plausible sizes, deterministic bytes), the stand-in
programs under the names the installer renames and starts, and the 17 images
as real JPEG and GIF pictures.

    make_payload.py --out DIR --standins DIR [--profile demo|test]

The demo profile comes to about 40 MB; the test profile is the same set at a
sixteenth of the size. Writes DIR/payload.tsv (name, size, sha256) as well.
"""
import argparse
import hashlib
import os
import random
import shutil
import subprocess
import sys
import zlib

KB = 1024
MB = 1024 * 1024

# Package files with their demo sizes. The names that travel as stand-ins
# are filled from the built programs instead.
PACKAGE_SIZES = {
    "adortl160.bpl": 123 * KB, "bdertl160.bpl": 301 * KB, "cxDataRS16.bpl": 1_150 * KB,
    "cxEditorsRS16.bpl": 3_480 * KB, "cxExportRS16.bpl": 412 * KB, "cxGridRS16.bpl": 3_790 * KB,
    "cxLibraryRS16.bpl": 1_410 * KB, "cxPageControlRS16.bpl": 598 * KB, "dbrtl160.bpl": 507 * KB,
    "dsnap160.bpl": 389 * KB, "dxBarRS16.bpl": 2_610 * KB, "dxCoreRS16.bpl": 246 * KB,
    "dxComnRS16.bpl": 61 * KB, "dxGDIPlusRS16.bpl": 297 * KB, "dxPSCoreRS16.bpl": 1_330 * KB,
    "dxLayoutControlRS16.bpl": 1_720 * KB, "dxServerModeRS16.bpl": 702 * KB, "dxRibbonRS16.bpl": 1_090 * KB,
    "dxThemeRS16.bpl": 151 * KB, "IndySystem160.bpl": 148 * KB, "IndyProtocols160.bpl": 2_790 * KB,
    "IndyCore160.bpl": 803 * KB, "vclactnband160.bpl": 912 * KB, "vcl160.bpl": 2_330 * KB,
    "rtl160.bpl": 3_620 * KB, "vclimg160.bpl": 296 * KB, "vcldb160.bpl": 611 * KB, "vclsmp160.bpl": 97 * KB,
    "vclx160.bpl": 254 * KB, "xmlrtl160.bpl": 806 * KB, "dbxint30.dll": 247 * KB, "libeay32.dll": 1_310 * KB,
    "dbxmys30.dll": 151 * KB, "ssleay32.dll": 352 * KB, "CobreBemX.dll": 2_210 * KB, "midas.dll": 403 * KB,
}
INI_FILES = {
    "nfseConfig.ini": 3 * KB, "nfseLocais.ini": 41 * KB,
    "nfseServidoresHom.ini": 18 * KB, "nfseServidoresProd.ini": 19 * KB,
}
STANDINS = {
    "Instalar.ex_": "ComponentInstallerStandIn.exe",
    "Lumivar.ex_": "ProductStandIn.exe",
    "Novelix5.ex_": "ProductStandIn.exe",
    "AR.exe": "ProductStandIn.exe",
}
IMAGES = ["001.jpg", "008.jpg", "033.jpg", "041.jpg", "104.jpg", "237.jpg", "275.jpg", "341.jpg", "353.jpg",
          "356.jpg", "399.jpg", "409.jpg", "748.jpg", "a.gif", "b.gif", "c.gif", "d.gif"]


def seed_of(name):
    return zlib.crc32(name.encode())


def write_binary(path, name, size):
    rng = random.Random(seed_of(name))
    with open(path, "wb") as out:
        left = size
        while left:
            piece = min(left, 1 * MB)
            out.write(rng.randbytes(piece))
            left -= piece


def write_ini(path, name, size):
    rng = random.Random(seed_of(name))
    lines = [f"; {name}", "[Geral]", "Versao=5.0", ""]
    section = 0
    while sum(len(line) + 2 for line in lines) < size:
        section += 1
        lines.append(f"[Municipio{section:04d}]")
        lines.append(f"Codigo={rng.randrange(1100015, 5300108)}")
        lines.append(f"Provedor=Provedor{rng.randrange(1, 60):02d}")
        lines.append(f"Url=https://nfse{section:04d}.example.gov.br/ws")
        lines.append("")
    text = "\r\n".join(lines).encode("ascii")[:size]
    with open(path, "wb") as out:
        out.write(text)


def draw_image(path, name):
    colour = f"#{seed_of(name) & 0x7F7F7F | 0x303030:06x}"
    command = ["convert", "-size", "480x320", f"xc:{colour}", "-fill", "white", "-gravity", "center",
               "-pointsize", "56", "-annotate", "+0+0", name]
    if name.endswith(".gif"):
        command += ["-colors", "64"]
    else:
        command += ["-quality", "85"]
    subprocess.run(command + [path], check=True)


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as source:
        for block in iter(lambda: source.read(1 * MB), b""):
            digest.update(block)
    return digest.hexdigest()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", required=True)
    parser.add_argument("--standins", required=True, help="folder with the built stand-in programs")
    parser.add_argument("--profile", choices=("demo", "test"), default="demo")
    args = parser.parse_args()

    scale = 1 if args.profile == "demo" else 16
    os.makedirs(args.out, exist_ok=True)
    for name, size in PACKAGE_SIZES.items():
        write_binary(os.path.join(args.out, name), name, max(KB, size // scale))
    for name, size in INI_FILES.items():
        write_ini(os.path.join(args.out, name), name, max(KB, size // scale))
    for name, program in STANDINS.items():
        source = os.path.join(args.standins, program)
        if not os.path.isfile(source):
            sys.exit(f"make_payload: stand-in {source} is missing; build it first")
        shutil.copyfile(source, os.path.join(args.out, name))
    for name in IMAGES:
        draw_image(os.path.join(args.out, name), name)

    names = list(PACKAGE_SIZES) + list(INI_FILES) + list(STANDINS) + IMAGES
    with open(os.path.join(args.out, "payload.tsv"), "w") as listing:
        for name in sorted(names):
            path = os.path.join(args.out, name)
            listing.write(f"{name}\t{os.path.getsize(path)}\t{sha256_of(path)}\n")


if __name__ == "__main__":
    main()
