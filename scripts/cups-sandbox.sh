# shellcheck shell=bash
# Sourced: a CUPS of one's own, run from a folder with its own configuration, spool and
# socket, so that nothing reaches the system's queues. cupsd needs root to run backends
# such as cups-pdf; sudo is used otherwise.
#   cups_start DIR   starts cupsd in DIR (made if missing) and exports CUPS_SERVER
#   cups_stop        stops it (again is harmless); DIR is left to the caller
cups_sudo=()
[ "$(id -u)" -eq 0 ] || cups_sudo=(sudo)
cups_dir=

cups_start() {
    cups_dir=$1
    mkdir -p "$cups_dir"
    chmod 755 "$cups_dir"
    mkdir -p "$cups_dir"/{spool,cache,state,log}
    mkdir -p -m 1777 "$cups_dir/tmp"
    cat >"$cups_dir/cupsd.conf" <<END
Listen $cups_dir/cups.sock
LogLevel warn
WebInterface No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
END
    cat >"$cups_dir/cups-files.conf" <<END
ServerRoot $cups_dir
RequestRoot $cups_dir/spool
CacheDir $cups_dir/cache
StateDir $cups_dir/state
TempDir $cups_dir/tmp
AccessLog $cups_dir/log/access_log
ErrorLog $cups_dir/log/error_log
PageLog $cups_dir/log/page_log
FileDevice Yes
END
    "${cups_sudo[@]}" cupsd -f -c "$cups_dir/cupsd.conf" -s "$cups_dir/cups-files.conf" &
    echo $! >"$cups_dir/cupsd.pid"
    export CUPS_SERVER="$cups_dir/cups.sock"
    local _
    for _ in $(seq 100); do
        lpstat -r 2>/dev/null | grep -q 'is running' && return 0
        sleep 0.1
    done
    echo "cupsd did not start: $(cat "$cups_dir/log/error_log" 2>/dev/null)" >&2
    return 1
}

cups_stop() {
    [ -n "$cups_dir" ] && [ -f "$cups_dir/cupsd.pid" ] || return 0
    local pid
    pid=$(cat "$cups_dir/cupsd.pid")
    rm -f "$cups_dir/cupsd.pid"
    "${cups_sudo[@]}" kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
