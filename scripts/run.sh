#!/usr/bin/env bash
# Installs what is missing, builds, and runs kx9monitor's start-up job against the built-in
# stand-ins: the web service's stand-in (PHP, on a loopback port) and a simulated meter (on a
# pseudo-terminal as COM4), in a scratch program folder. Without a display an operator script
# answers the login and the expiry dialog. At the end it prints what changed in the meter and
# what the server recorded.
#
#   KX9_STANDINS=0     runs the program alone in $KX9_PROGRAM_DIR (default build/program)
#   KX9_CLOCK_SPEED=n  runs the program's waits n times faster (default 10 here)
#   KX9_JOBS=n         build jobs (default: the number of processors)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build=${KX9_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX9_BUILD_TESTS=ON \
    >/dev/null
cmake --build "$build" -j "${KX9_JOBS:-$(nproc)}" --target kx9monitor simmeter
program="$build/src/app/kx9monitor"
headless=0
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    headless=1
    export QT_QPA_PLATFORM=offscreen
fi

if [ "${KX9_STANDINS:-1}" = 0 ]; then
    folder=${KX9_PROGRAM_DIR:-$build/program}
    mkdir -p "$folder"
    cd "$folder"
    [ "$headless" = 1 ] && export KX9_UNATTENDED=1
    exec "$program" "$@"
fi

serial=T200
technician=123456
password=segreto
download_user=stazione
download_password=scarica
meter_before=("CERT_DATE=2024/03/01" "CALIB_CERT_DATE=2024/02/28" "HOMOLOGATION=" "MAKER=")
cert_date=$(date +%Y/%m/%d)
calib_date=$(date -d yesterday +%Y/%m/%d)

folder=${KX9_PROGRAM_DIR:-$build/program}
[ -n "${KX9_PROGRAM_DIR:-}" ] || rm -rf "$folder"
mkdir -p "$folder"
state=$(mktemp -d)
php_pid=""
meter_pid=""
cleanup() {
    [ -n "$meter_pid" ] && kill "$meter_pid" 2>/dev/null || true
    [ -n "$php_pid" ] && kill "$php_pid" 2>/dev/null || true
    rm -rf "$state"
}
trap cleanup EXIT

# --- the web service's stand-in
key_line=$serial
for _ in $(seq 271); do key_line+=";$((RANDOM % 256))"; done
files="$state/files/qs4060krtn_vp"
mkdir -p "$files/corrections" "$files/hash_keys" "$files/software_upgrade"
printf 'REF1;0.1\n' >"$files/corrections/corrections_table.txt"
printf '%s\n' "$key_line" >"$files/hash_keys/${serial}hash.txt"
printf 'X9999\n' >"$files/black_list.txt"
printf '1.0.0;kx9monitor_1_0_0.zip\n' >"$files/software_upgrade/sw_versions.txt"
printf '%s;%s;tecnico@example.com\n' "$technician" "$password" >"$state/accounts"
printf '%s:%s' "$download_user" "$download_password" >"$state/auth"
printf '%s;%s\n' "$serial" "$cert_date" >"$state/cert_dates"
printf '%s;%s\n' "$serial" "$calib_date" >"$state/cert_dates_calib"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
KX9_WEBSTUB_STATE=$state php -S "127.0.0.1:$port" "$root/tools/webstub/router.php" \
    >"$state/php.log" 2>&1 &
php_pid=$!
for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done

# --- the simulated meter
printf '%s\n' "$key_line" >"$state/meter_key.txt"
field_args=()
for field in "${meter_before[@]}"; do field_args+=(--field "$field"); done
"$build/tools/simmeter/simmeter" --model QS4060KRTN --serial "$serial" \
    --key-file "$state/meter_key.txt" "${field_args[@]}" >"$state/meter.out" &
meter_pid=$!
for _ in $(seq 100); do [ -s "$state/meter.out" ] && break; sleep 0.1; done
pty=$(head -n 1 "$state/meter.out")
[ -c "$pty" ] || { echo "run.sh: the simulated meter did not start"; exit 1; }

# --- the program folder
# Downloads go to the alternative server's host and port; the posts to the host at the port
# the settings name, the stand-in's own rather than the protocol's default.
printf 'SERVER_HOST=127.0.0.1\r\nDOWNLOAD_USER=%s\r\nDOWNLOAD_PASSWORD=%s\r\nPOST_PORT=%s\r\n' \
    "$download_user" "$download_password" "$port" >"$folder/webservice.ini"
printf '127.0.0.1\r\n%s\r\n' "$port" >"$folder/alt_www.dll"
printf 'REF_INSTR_COM=3\r\nREF_INSTR_SN=\r\nREF_INSTR_ERR_CNT=0\r\nREF_INSTR_ERR2_CNT=0\r\n94DB_INIT_VOL=0\r\nTRANSIENT_106DB_INIT_VOL=0\r\nOVELOAD_99DB_INIT_VOL=0\r\nOVELOAD_102DB_INIT_VOL=0\r\nTARGET_INSTR_COM=4\r\nTARGET_INSTR_SN=\r\nTARGET_INSTR_ERR_CNT=0\r\nTARGET_INSTR_ERR2_CNT=0\r\n' \
    >"$folder/port.ini"
printf 'HOMOLOGATION=OM-2024-17\r\nMAKER=Corvanex\r\n' >"$folder/setup.ini"
export KX9_COM_MAP="4=$pty"
export KX9_CLOCK_SPEED=${KX9_CLOCK_SPEED:-10}
if [ "$headless" = 1 ]; then
    cat >"$folder/operator.txt" <<EOF
# The technician's answers of this run.
dialog CSetHystogramRange OK code=$technician password=$password
dialog CFonoConfigDlg OK
EOF
    export KX9_OPERATOR_SCRIPT="$folder/operator.txt"
else
    echo "Login: technician code $technician, password $password (not an authorised technician)."
fi

echo "== kx9monitor in $folder, web stand-in on 127.0.0.1:$port, meter $serial on COM4 = $pty"
cd "$folder"
status=0
"$program" "$@" || status=$?

kill "$meter_pid"
wait "$meter_pid" || true
meter_pid=""
echo "== instrument $serial"
echo "   fields before:       ${meter_before[*]}"
echo "   certificate dates:   meter $cert_date, associated calibrator $calib_date (web service)"
echo "   fields after:        $(grep '^PROT:' "$state/meter.out" | sed 's/^PROT://' | tr '\n' ' ')"
echo "== recorded on the web service (log_user.php):"
cat "$state/server_logs/"* 2>/dev/null || echo "   nothing"
exit "$status"
