#!/usr/bin/env bash
# Renders docs/architecture.dot into docs/architecture.svg (needs Graphviz: apt-get install graphviz).
# Run it after changing the diagram and commit both files; the build never needs Graphviz.
set -euo pipefail
cd "$(dirname "$0")/.."
dot -Tsvg docs/architecture.dot -o docs/architecture.svg
echo "docs/architecture.svg"
