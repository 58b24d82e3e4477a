#!/usr/bin/env bash
# Installs what is missing, builds Fogloom and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/fogloom
