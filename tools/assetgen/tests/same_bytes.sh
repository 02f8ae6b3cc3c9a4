#!/usr/bin/env bash
# Two runs of the generator over the same manifests write the same bytes.
set -euo pipefail
assetgen=$1
assets=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$assetgen" --assets "$assets" --out "$work/first"
"$assetgen" --assets "$assets" --out "$work/second"
diff -r "$work/first" "$work/second"
