# Sourced by the project's commands: which Windows build this machine runs, and why.
# Sonidex is a 32-bit program first; a machine whose kernel runs no 32-bit code (IA-32
# emulation off) can still run the 64-bit build under wine64 in a win64 prefix.
#   SONIDEX_HOST_ARCH   32 or 64: the build the tests and the demo run (SONIDEX_ARCH overrides)
#   SONIDEX_HOST_RUNS32 yes or no: whether the kernel starts 32-bit x86 programs at all
#   SONIDEX_HOST_WHY    one line saying which build runs and why
#   sonidex_build_dir ARCH   the cross build folder of that architecture
_host_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

sonidex_build_dir() { [ "$1" = 64 ] && echo "$_host_root/build/win64" || echo "$_host_root/build/win"; }

# Asks the kernel itself: a 93-byte 32-bit x86 Linux program that only exits with 0. Where IA-32
# emulation is off, execve refuses it (ENOEXEC) and the shell reports a failure.
_host_runs_32bit() {
  local dir probe
  dir=$(mktemp -d "${TMPDIR:-/tmp}/sonidex-host.XXXXXX") || return 1
  probe=$dir/exit32
  printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' > "$probe"
  printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >> "$probe"
  printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >> "$probe"
  printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >> "$probe"
  printf '\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000' >> "$probe"
  printf '\270\001\000\000\000\061\333\315\200' >> "$probe"   # mov eax,1; xor ebx,ebx; int 0x80
  chmod +x "$probe"
  local rc=0
  "$probe" 2>/dev/null || rc=1
  rm -rf "$dir"
  return $rc
}

if [ -z "${SONIDEX_HOST_ARCH:-}" ]; then
  case "$(uname -m)" in
    x86_64|amd64)
      if _host_runs_32bit; then SONIDEX_HOST_RUNS32=yes; else SONIDEX_HOST_RUNS32=no; fi ;;
    *)
      echo "Sonidex is tested under Wine on x86 machines; this one is $(uname -m): no build of it can run here." >&2
      SONIDEX_HOST_RUNS32=no; SONIDEX_HOST_ARCH=none ;;
  esac
  if [ "${SONIDEX_HOST_ARCH:-}" != none ]; then
    if [ -n "${SONIDEX_ARCH:-}" ]; then
      SONIDEX_HOST_ARCH=$SONIDEX_ARCH
      SONIDEX_HOST_WHY="running the $SONIDEX_ARCH-bit build: SONIDEX_ARCH asks for it"
    elif [ "$SONIDEX_HOST_RUNS32" = yes ]; then
      SONIDEX_HOST_ARCH=32
      SONIDEX_HOST_WHY="running the 32-bit build: this machine runs 32-bit code (the 64-bit build's end-to-end tests run too)"
    else
      SONIDEX_HOST_ARCH=64
      SONIDEX_HOST_WHY="running the 64-bit build: this machine runs no 32-bit code"
    fi
  fi
  export SONIDEX_HOST_ARCH SONIDEX_HOST_RUNS32 SONIDEX_HOST_WHY
fi
if [ "$SONIDEX_HOST_ARCH" = 32 ] && [ "$SONIDEX_HOST_RUNS32" != yes ]; then
  echo "This machine runs no 32-bit code, so the 32-bit build cannot run here; leave SONIDEX_ARCH unset." >&2
  SONIDEX_HOST_ARCH=none
fi
