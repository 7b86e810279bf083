#!/usr/bin/env bash
# Tries the README on a fresh Debian 12 machine: makes a minimal bookworm
# system with debootstrap in build/macchina_nuova/radice, puts a clean
# checkout of HEAD in it, and there runs exactly the README's
# `apt-get install` line, then its two commands, `cmake --workflow --preset
# run` and `cmake --workflow --preset test`. The run's six files must be
# written, and must equal byte for byte those of the machine's own
# build/default/scenario_builder when that exists.
#
# Needs root and debootstrap; packages come from the Debian mirror of this
# machine's apt sources, and the .debs already in its apt cache are reused
# (hard links, when on the same file system). Only /proc is mounted in the
# new system (and, when debootstrap could not make device nodes, the few of
# /dev it needs); every mount is undone on exit, whatever happens, and the
# system is deleted only when nothing is mounted in it any more. It is kept
# after a failure, for a look inside, and removed after a success.
#
# Usage: tools/macchina_nuova.sh
set -euo pipefail
cd "$(dirname "$0")/.."
inizio=$SECONDS
exec 8>&1 9>&2

fail() {
  echo "macchina_nuova: $*" >&2
  exit 1
}

((EUID == 0)) || fail "needs root (debootstrap, chroot, mount)"
command -v debootstrap >/dev/null || fail "debootstrap not found (Debian package debootstrap)"
command -v findmnt >/dev/null || fail "findmnt not found (Debian package util-linux)"
git rev-parse --verify -q HEAD >/dev/null || fail "not in a git checkout"

base=$PWD/build/macchina_nuova
radice=$base/radice
[[ $radice != *[[:space:]]* ]] || fail "the path $radice holds blanks"

# The README's line, exactly as a user copies it; only a plain list of
# package names and options is accepted, since it runs as a command.
riga=$(grep -m1 -E '^ +apt-get install' README.md) || fail "README.md has no apt-get install line"
riga=${riga#"${riga%%[![:space:]]*}"}
[[ $riga =~ ^apt-get\ install(\ [-a-z0-9.+]+)+$ ]] || fail "unexpected apt-get line in README.md: $riga"

# ---- mounts ------------------------------------------------------------------

# What is mounted at or below the new system's root, deepest first.
montati() {
  findmnt -l -n -o TARGET | awk -v r="$radice" '$0 == r || index($0, r "/") == 1' | sort -r
}

# Stops whatever still runs inside the new system (a test's leftover
# server, say), so that its mounts can go.
ferma_processi() {
  local p
  for p in /proc/[0-9]*; do
    [[ $(readlink "$p/root" 2>/dev/null) == "$radice" ]] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  return 0
}

smonta() {
  ferma_processi
  local m
  while IFS= read -r m; do
    [[ -n $m ]] || continue
    umount "$m" 2>/dev/null || umount -l "$m" || echo "macchina_nuova: cannot unmount $m" >&2
  done < <(montati)
  if [[ -n $(montati) ]]; then
    echo "macchina_nuova: still mounted in $radice:" >&2
    montati >&2
    return 1
  fi
}

# Deletes the new system, never with anything mounted in it: a mounted
# /proc or /dev would otherwise be emptied through it. rm also stays on the
# file system it starts on, as a second guard.
cancella() {
  [[ -e $base ]] || return 0
  smonta || fail "$base not deleted: something is still mounted in it"
  rm -rf --one-file-system "$base"
}

alla_fine() {
  local stato=$?
  # Exit may come in the middle of a command whose output goes to a log.
  exec 1>&8 2>&9
  smonta || stato=1
  if ((stato == 0)); then
    cancella
  else
    echo "macchina_nuova: failed; the new system is kept in $radice (nothing mounted in it)" >&2
  fi
  exit "$stato"
}

passo() {
  echo "macchina_nuova: $* ($((SECONDS - inizio)) s)"
}

# A run stopped half-way may have left its system behind.
cancella
trap alla_fine EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- the Debian mirror ---------------------------------------------------------

# "URI suite" for every Debian source of this machine, from the one-line
# format (sources.list, *.list) and the deb822 one (*.sources).
fonti() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -f $f ]] || continue
    awk '$1 == "deb" {
           i = 2
           if ($i ~ /^\[/) while ($i !~ /\]$/) i++
           if ($i ~ /^\[/ || $i ~ /\]$/) i++
           for (c = i + 2; c <= NF; c++) if ($c == "main") { print $i, $(i + 1); break }
         }' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [[ -f $f ]] || continue
    awk 'function emetti(   n, u, s, a, b) {
           if (tipi ~ /(^| )deb( |$)/ && abilitato != "no" && comp ~ /(^| )main( |$)/) {
             n = split(uris, u, " "); split(suites, s, " ")
             for (a = 1; a <= n; a++) for (b in s) print u[a], s[b]
           }
           tipi = uris = suites = comp = abilitato = ""
         }
         /^[ \t]*#/ { next }
         /^[ \t]*$/ { emetti(); next }
         { campo = tolower($1); sub(/:$/, "", campo); $1 = ""; sub(/^ +/, "")
           if (campo == "types") tipi = $0
           else if (campo == "uris") uris = $0
           else if (campo == "suites") suites = $0
           else if (campo == "components") comp = $0
           else if (campo == "enabled") abilitato = tolower($0) }
         END { emetti() }' "$f"
  done
}

fonti_bookworm=$(fonti | awk '$2 ~ /^bookworm(-updates|-security)?$/ { sub(/\/$/, "", $1); print }' | awk '!visto[$0]++')
mirror=$(awk '$2 == "bookworm" { print $1; exit }' <<<"$fonti_bookworm")
[[ -n $mirror ]] || fail "no Debian 12 (bookworm) mirror in this machine's apt sources"

# ---- the new system ------------------------------------------------------------

passo "debootstrap --variant=minbase bookworm from $mirror"
mkdir -p "$radice/var/cache/apt/archives"
# The .debs this machine has already downloaded: debootstrap and apt check
# each against the archive's checksums before using it.
if [[ $(stat -c %d /var/cache/apt/archives) == $(stat -c %d "$radice") ]]; then
  find /var/cache/apt/archives -maxdepth 1 -name '*.deb' -exec ln -t "$radice/var/cache/apt/archives" {} + ||
    true
fi
debootstrap --variant=minbase bookworm "$radice" "$mirror" >"$base/debootstrap.log" 2>&1 || {
  tail -n 30 "$base/debootstrap.log" >&2
  fail "debootstrap failed (log in $base/debootstrap.log)"
}

awk '{ print "deb", $1, $2, "main" }' <<<"$fonti_bookworm" >"$radice/etc/apt/sources.list"
mount -t proc proc "$radice/proc"
# debootstrap makes the device nodes itself where it may; where it may not,
# the host's few are bound onto a /dev of the new system's own.
if [[ ! -c $radice/dev/null ]]; then
  mount -t tmpfs -o mode=755 nodev "$radice/dev"
  for d in null zero full random urandom tty; do
    touch "$radice/dev/$d"
    mount --bind "/dev/$d" "$radice/dev/$d"
  done
  ln -s /proc/self/fd "$radice/dev/fd"
fi
# Terminals of its own (apt and dpkg ask for one), not the host's.
rm -f "$radice/dev/ptmx"
ln -s pts/ptmx "$radice/dev/ptmx"
mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$radice/dev/pts"
# The mirror is reached the way this machine reaches it: its name
# resolution, its proxies and its date checks (a mirror frozen at a date
# serves Release files whose validity has run out).
cp /etc/resolv.conf /etc/hosts "$radice/etc/" 2>/dev/null || true
apt-config dump | grep -E '^Acquire::(Check-Valid-Until|Check-Date|(https?|ftp)::Proxy)' \
  >"$radice/etc/apt/apt.conf.d/00rete" || true
ambiente=(HOME=/root TERM=dumb DEBIAN_FRONTEND=noninteractive
          PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin)
for v in http_proxy https_proxy no_proxy; do
  [[ -z ${!v:-} ]] || ambiente+=("$v=${!v}")
done

# Commands run inside with the environment of a fresh root login, not ours.
dentro() {
  chroot "$radice" /usr/bin/env -i "${ambiente[@]}" /bin/bash -c "$1"
}

# apt's long account goes to a log, shown when a step fails.
apt_log=$base/apt.log
apt_dentro() {
  dentro "$1" >>"$apt_log" 2>&1 || {
    tail -n 30 "$apt_log" >&2
    fail "$1 failed in the new system (log in $apt_log)"
  }
}

passo "apt-get update"
apt_dentro 'apt-get update'
# debootstrap left its .debs in place; the machine's may have come since.
if [[ $(stat -c %d /var/cache/apt/archives) == $(stat -c %d "$radice") ]]; then
  find /var/cache/apt/archives -maxdepth 1 -name '*.deb' \
    -exec ln -f -t "$radice/var/cache/apt/archives" {} + || true
fi

passo "the README's line: $riga"
apt_dentro "$riga"
apt_dentro 'apt-get clean'

passo "a clean checkout of $(git rev-parse --short HEAD)"
mkdir "$radice/root/scenario_builder"
git archive HEAD | tar -x -C "$radice/root/scenario_builder"

passo "cmake --workflow --preset run"
dentro 'cd /root/scenario_builder && cmake --workflow --preset run' ||
  fail "cmake --workflow --preset run failed in the new system"

# The run's files, beside the builder; compared with those of this
# machine's own build when there is one, run in a folder of its own so that
# build/default is left as it is.
file_attesi=(Lavrano_Cestelle_58121_note.txt Lavrano_Cestelle_58121_rallentamenti.txt
             Lavrano_Cestelle_58121_scheda_treno.txt Lavrano_Cestelle_linea.dat
             Lavrano_Cestelle_58121.sim Lavrano_Cestelle_58121.dat)
uscita=$radice/root/scenario_builder/build/default
for f in "${file_attesi[@]}"; do
  [[ -s $uscita/$f ]] || fail "the run in the new system did not write $f"
done
if [[ -x build/default/scenario_builder ]]; then
  confronto=$base/confronto
  mkdir "$confronto"
  cp build/default/scenario_builder "$confronto/"
  (cd "$confronto" && ./scenario_builder >/dev/null) || fail "this machine's build/default/scenario_builder failed"
  for f in "${file_attesi[@]}"; do
    cmp "$uscita/$f" "$confronto/$f" || fail "$f differs from this machine's build"
  done
  echo "the six files equal those of this machine's build/default/scenario_builder"
else
  echo "(no build/default/scenario_builder here: the files are checked present, not compared)"
fi

passo "cmake --workflow --preset test"
dentro 'cd /root/scenario_builder && cmake --workflow --preset test' ||
  fail "cmake --workflow --preset test failed in the new system"

passo "done"
echo "a fresh Debian 12 machine builds, tests and runs with the README's line alone" \
  "($((SECONDS - inizio)) s)"
