#!/usr/bin/env bash
# Installs what is missing, builds, and shows what the module registers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh default
build/default/bin/solvane-render --info
