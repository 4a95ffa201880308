# Sourced by the scripts that set a Debian 12 machine up.

# Installs the given Debian packages that are missing. One dpkg query for all
# packages: one per package took most of a second.
install_missing() {
    installed=" $(dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null |
        awk '/ ok installed$/ { print $1 }' | tr '\n' ' ') "
    missing=""
    for p in "$@"; do
        case "$installed" in
        *" $p "*) ;;
        *) missing="$missing $p" ;;
        esac
    done
    if [ -n "$missing" ]; then
        echo "Installing:$missing"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
    fi
}
