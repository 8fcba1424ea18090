#!/bin/bash
# Brief fuzz run used as a test:
#   fuzz-run.sh <target> <seed corpus> <seconds> [dictionary]
# Works on a scratch copy of the corpus so the seeds stay as written; a
# finding is kept beside the seeds in findings/.
set -euo pipefail
target=$1 seeds=$2 seconds=$3 dict=${4:-}
findings="$(dirname "$seeds")/findings"
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp -r "$seeds"/. "$scratch"/ 2>/dev/null || true
"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  ${dict:+-dict="$dict"} -artifact_prefix="$findings/$(basename "$seeds")-" "$scratch"
