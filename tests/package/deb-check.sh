#!/usr/bin/env bash
# The Debian package as a user meets it, on a fresh Debian 12 machine (run as root from the
# repository folder; it installs and removes packages, so use a throw-away machine):
#   ../shared/tools/fresh-machine.sh 'cd /root/project && tests/package/deb-check.sh'
# Builds the package and a newer one that changes some shipped files, removes the build
# tools again, installs the package with apt, starts both programs as a plain user, upgrades,
# checks a read-only user folder, and removes the package.
set -euo pipefail
cd "$(dirname "$0")/../.."
say() { printf '\n== %s\n' "$*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
as_user() { su - ana -c "export QT_QPA_PLATFORM=offscreen; $1"; }
user_data=/home/ana/.local/share/tolvane

say "building the package and a newer one"
BUILD_TYPE=Release scripts/package.sh >/dev/null
old=/var/tmp/$(basename build/tolvane_*.deb)
mv build/tolvane_*.deb "$old"
printf '\n<!-- newer -->\n' | tee -a data/Spain.xml data/Germany.xml help/help.htm >/dev/null
BUILD_TYPE=Release scripts/package.sh -DTOLVANE_PACKAGE_RELEASE=2 >/dev/null
new=/var/tmp/$(basename build/tolvane_*.deb)
mv build/tolvane_*.deb "$new"
git checkout -q -- data help
ls -l "$old" "$new"

say "removing the build tools, so the package must bring what it needs"
mapfile -t build_packages < <(sed -n '/^PACKAGES=(/,/^)/p' scripts/setup.sh | sed '1d;$d' | tr ' ' '\n' | grep .)
apt-get purge -y -qq "${build_packages[@]}" >/dev/null
apt-get autoremove --purge -y -qq >/dev/null
dpkg -l 'libqt6*' 2>/dev/null | grep -q '^ii' && fail "Qt still installed"
echo "no Qt libraries installed"

say "apt install $old"
apt install -y -q "$old" 2>&1 | grep -E '^(Setting up|The following NEW)' || true
dpkg -s tolvane | grep -E '^(Status|Version|Depends)'
useradd -m ana

say "first start as a plain user"
touch /var/tmp/before-start && sleep 1
as_user "tolvane --version && tolvane-render --version"
as_user "tolvane-render Germany --size 500x350 -o /tmp/germany.png" | sed 's/^/  /'
as_user "timeout 60 tolvane --startup-probe" || fail "tolvane did not start"
[ -s /tmp/germany.png ] || fail "no picture from tolvane-render"
cmp -s /usr/share/tolvane/data/Germany.xml "$user_data/data/Germany.xml" || fail "not seeded"
echo "seeded: $(find "$user_data" -type f | wc -l) files in $user_data"
echo "files written outside the user's folder and /tmp:"
find / -xdev -newer /var/tmp/before-start -type f \
  -not -path "$user_data/*" -not -path '/tmp/*' -not -path '/proc/*' -not -path '/var/tmp/*' \
  | sed 's/^/  /'

say "the user changes a chart, then upgrades"
as_user "printf '\n<!-- mine -->\n' >> $user_data/data/Germany.xml; echo 'my options' > $user_data/data/Mine.set"
apt install -y -q "$new" 2>&1 | grep -E '^(Setting up|Preparing)' || true
as_user "timeout 60 tolvane --startup-probe" || fail "tolvane did not start after the upgrade"
grep -q mine "$user_data/data/Germany.xml" && ! grep -q newer "$user_data/data/Germany.xml" \
  || fail "the user's chart was replaced"
grep -q newer "$user_data/data/Spain.xml" || fail "an untouched chart did not get the newer copy"
grep -q newer "$user_data/help/help.htm" || fail "help was not updated"
[ "$(cat "$user_data/data/Mine.set")" = "my options" ] || fail "the user's own file changed"
echo "kept the user's Germany.xml and Mine.set; Spain.xml and help.htm updated"

say "a read-only user folder"
chmod -R a-w "$user_data/data"
as_user "tolvane-render Germany -o /tmp/x.png" && fail "no error" || true
chmod -R u+w "$user_data/data"

say "removal"
apt-get remove -y -qq tolvane >/dev/null
# The package has no configuration files, so removing it leaves nothing for a purge.
dpkg -s tolvane >/dev/null 2>&1 && fail "dpkg still knows the package"
left=$(find / -xdev -iname '*tolvane*' -not -path '/root/project*' -not -path '/var/tmp/*' \
  -not -path "$user_data*" -not -path '/proc/*' 2>/dev/null || true)
[ -z "$left" ] || { echo "$left"; fail "files left behind"; }
echo "nothing named tolvane left outside the user's folder; the user's folder keeps $(find "$user_data" -type f | wc -l) files"
say "all checks passed"
