#!/usr/bin/env bash
# Fetches three.js at the pinned version from the npm registry and copies the
# one built file zepscene's page needs, with its licence, into
# tools/zepscene/web/vendor/. Change THREE_VERSION and run it to update; the
# file is self-contained (no imports) up to 0.170, later builds split it in
# two and the page's import map would need a second entry.
set -euo pipefail
THREE_VERSION=0.170.0
here=$(cd "$(dirname "$0")" && pwd)
vendor=$here/zepscene/web/vendor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "three@$THREE_VERSION" >/dev/null && tar xzf "three-$THREE_VERSION.tgz")
cp "$work/package/build/three.module.min.js" "$vendor/three.module.min.js"
cp "$work/package/LICENSE" "$vendor/LICENSE"
echo "$THREE_VERSION" >"$vendor/VERSION"
echo "three.js $THREE_VERSION copied to $vendor"
