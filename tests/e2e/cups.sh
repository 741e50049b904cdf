#!/usr/bin/env bash
# A private CUPS scheduler with one PDF queue, for the printing scenario:
#   cups.sh start DIR   starts cupsd on the socket DIR/cups.sock with all its
#                       state in DIR, adds the default queue PlumoraPDF, whose
#                       PDFs land in DIR/out, and prints the CUPS_SERVER
#                       setting that reaches it
#   cups.sh stop DIR    stops that cupsd and removes the queue's configuration
# The system's own scheduler is left alone. DIR and the folders above it must
# be open to the user lp, who runs the scheduler's filters.
set -euo pipefail
action=${1:?usage: cups.sh start|stop DIR}
dir=${2:?usage: cups.sh start|stop DIR}
# cups-pdf reads the configuration of its device cups-pdf:/NAME from this
# fixed folder; NAME carries DIR's so that runs side by side keep apart.
instance=plumora-$(basename "$dir")
pdf_conf=/etc/cups/cups-pdf-$instance.conf

stop() {
  local pid
  pid=$(cat "$dir/cupsd.pid" 2>/dev/null) && kill -TERM "$pid" 2>/dev/null &&
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  [[ -z $pid ]] || kill -KILL "$pid" 2>/dev/null || true
  rm -f "$dir/cupsd.pid" "$pdf_conf"
}

start() {
  command -v cupsd >/dev/null && [[ -x /usr/lib/cups/backend/cups-pdf ]] ||
    { echo "FAIL: cups and printer-driver-cups-pdf are needed (scripts/install-deps --test)"; exit 1; }
  mkdir -p "$dir"/{root/ppd,spool,cache,state,tmp,log,out,pdfspool}
  chmod 755 "$dir" "$dir/out"
  chmod 1777 "$dir/tmp"
  # Anyone on the private socket may do anything.
  printf '%s\n' "Listen $dir/cups.sock" '<Policy default>' '<Limit All>' 'Order deny,allow' '</Limit>' '</Policy>' \
    >"$dir/cupsd.conf"
  printf '%s\n' "ServerRoot $dir/root" "RequestRoot $dir/spool" "CacheDir $dir/cache" "StateDir $dir/state" \
    "TempDir $dir/tmp" "ErrorLog $dir/log/error_log" "AccessLog $dir/log/access_log" "PageLog $dir/log/page_log" \
    >"$dir/cups-files.conf"
  printf '%s\n' "Out $dir/out" "AnonDirName $dir/out" "UserUMask 0022" "Log $dir/log" "Spool $dir/pdfspool" \
    >"$pdf_conf"
  cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"
  for _ in $(seq 100); do [[ -S $dir/cups.sock ]] && break; sleep 0.1; done
  [[ -S $dir/cups.sock ]] || { echo "FAIL: cupsd did not start: $(cat "$dir"/log/*)"; stop; exit 1; }
  # Cairo's PostScript keeps the text readable in the PDF that Ghostscript makes of it.
  lpadmin -h "$dir/cups.sock" -p PlumoraPDF -E -v "cups-pdf:/$instance" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    -o pdftops-renderer-default=pdftocairo 2>"$dir/log/lpadmin.out" && lpadmin -h "$dir/cups.sock" -d PlumoraPDF ||
    { echo "FAIL: lpadmin could not add the queue: $(cat "$dir/log/lpadmin.out")"; stop; exit 1; }
  echo "CUPS_SERVER=$dir/cups.sock"
}

case $action in
  start | stop) $action ;;
  *) echo "usage: cups.sh start|stop DIR" >&2; exit 2 ;;
esac
