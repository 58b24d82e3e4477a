#!/usr/bin/env bash
# Installs what is missing, builds Fogloom and runs every test: the unit tests and the
# end-to-end tests that drive the real window under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j2
