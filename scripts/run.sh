#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh
scripts/build.sh main

if [ -x build/bin/varlo-jigsaw ]; then
  exec build/bin/varlo-jigsaw "$@"
fi
echo "Built the engine, varlo-tool and the tests in build/."
echo "The game window is not part of this build yet: the desktop game comes"
echo "with a later milestone. Try the command-line companion meanwhile:"
echo "  build/bin/varlo-tool --help"
