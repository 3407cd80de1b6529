#!/usr/bin/env bash
# Sets up, builds and starts the program on the demonstration catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
exec build/bin/tunvale build/bin/demo.muf "$@"
