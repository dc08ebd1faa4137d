# Sourced by the scripts that deal with Debian releases: which release an argument names, which
# this machine runs, and where their minimal roots and downloads are cached.

# debianRelease 12|13|bookworm|trixie: the release's code name; nothing for anything else.
debianRelease() {
    case "${1:-}" in
    12 | bookworm) echo bookworm ;;
    13 | trixie) echo trixie ;;
    esac
}

# thisRelease: this machine's Debian code name; nothing on another system.
thisRelease() {
    (. /etc/os-release 2>/dev/null && [ "${ID:-}" = debian ] && echo "${VERSION_CODENAME:-}") || true
}

releaseCache="${XDG_CACHE_HOME:-$HOME/.cache}/kivo/release-check"
