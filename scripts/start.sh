#!/usr/bin/env bash
# Installs what is missing, builds and starts the program from its program folder build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/bin/Import "$@"
