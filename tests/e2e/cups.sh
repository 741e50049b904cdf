#!/usr/bin/env bash
# A private CUPS scheduler with one PDF queue, for the printing scenarios:
#   cups.sh start DIR   starts cupsd on the socket DIR/cups.sock with its
#                       state in DIR, adds the queue PlumoraPDF, whose PDFs
#                       land in DIR/out, and prints the CUPS_SERVER setting
#                       that reaches it
#   cups.sh stop DIR    stops that cupsd and removes its queue configuration
# DIR and the folders above it must be open to the user lp, who runs the
# scheduler's filters.
# The system's own scheduler, if any, is left alone: everything but the
# cups-pdf backend's per-queue configuration file lives in DIR.
set -euo pipefail
action=${1:?usage: cups.sh start|stop DIR}
dir=${2:?usage: cups.sh start|stop DIR}
queue=PlumoraPDF
# cups-pdf reads the configuration of queue NAME (device cups-pdf:/NAME) from
# this fixed folder; the name carries the folder's own so that runs side by
# side keep apart.
instance=plumora-$(basename "$dir")
pdf_conf=/etc/cups/cups-pdf-$instance.conf

stop() {
  if [[ -f $dir/cupsd.pid ]]; then
    local pid
    pid=$(cat "$dir/cupsd.pid")
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
    rm -f "$dir/cupsd.pid"
  fi
  rm -f "$pdf_conf"
}

start() {
  command -v cupsd >/dev/null && [[ -x /usr/lib/cups/backend/cups-pdf ]] ||
    { echo "FAIL: cups and printer-driver-cups-pdf are needed (scripts/install-deps --test)"; exit 1; }
  mkdir -p "$dir"/{root/ppd,spool,cache,state,tmp,log,out,pdfspool}
  # The scheduler runs its filters and the backend as lp, which must reach these.
  chmod 755 "$dir" "$dir/out"
  chmod 1777 "$dir/tmp"
  cat >"$dir/cupsd.conf" <<CONF
LogLevel warn
Listen $dir/cups.sock
Browsing No
WebInterface No
DefaultPolicy default
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$dir/cups-files.conf" <<CONF
ServerRoot $dir/root
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF
  cat >"$pdf_conf" <<CONF
Out $dir/out
AnonDirName $dir/out
UserUMask 0022
Log $dir/log
Spool $dir/pdfspool
CONF
  cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"
  for _ in $(seq 100); do [[ -S $dir/cups.sock ]] && break; sleep 0.1; done
  [[ -S $dir/cups.sock ]] || { echo "FAIL: cupsd did not start"; cat "$dir"/log/* >&2 || true; stop; exit 1; }
  lpadmin -h "$dir/cups.sock" -p "$queue" -E -v "cups-pdf:/$instance" \
    -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -o pdftops-renderer-default=pdftocairo 2>"$dir/log/lpadmin.out" ||
    { echo "FAIL: lpadmin could not add $queue"; cat "$dir/log/lpadmin.out" >&2; stop; exit 1; }
  lpadmin -h "$dir/cups.sock" -d "$queue"
  echo "CUPS_SERVER=$dir/cups.sock"
}

case $action in
  start) start ;;
  stop) stop ;;
  *) echo "usage: cups.sh start|stop DIR" >&2; exit 2 ;;
esac
