# Sourced by the app benchmarks after tests/e2e/lib.sh: application folders for the
# program, empty or holding the largest catalogue the benchmarks use.

# app_folder BUILD_DIR empty|demo|large: a fresh folder with a copy of the program, the
# advert not due, no event log. "demo" registers the demo unit; "large" the three
# 1,000-clip units of bench/sounds and ten external sounds, as bench_catalogue does.
app_folder() {
  new_app_folder "$1/app/jabberwell"
  unset JBW_E2E_LOG
  printf '[Software\\Grindlewood]\r\nBrakken=Installed\r\n' > "$JBW_REGISTRY_FILE"
  if [ "$2" = demo ]; then
    printf '[Settings]\r\nNumberOfBSUs=1\r\n[BSU-List]\r\n1=%s\r\n' "$(realpath "$1/app/Demo.BSU")" \
      > "$APPDIR/BSUs.ini"
    return 0
  fi
  [ "$2" = large ] || return 0
  local units=$1/bench/sounds u i
  for u in 1 2 3; do
    [ -f "$units/bench_unit_$u.BSU" ] || fail "no $units/bench_unit_$u.BSU: build bench_catalogue"
  done
  printf '[Settings]\r\nNumberOfBSUs=3\r\n[BSU-List]\r\n' > "$APPDIR/BSUs.ini"
  for u in 1 2 3; do printf '%d=%s\r\n' $u "$(realpath "$units/bench_unit_$u.BSU")"; done \
    >> "$APPDIR/BSUs.ini"
  {
    printf '[Settings]\r\nNumberOfSounds=10\r\n[Sound-List]\r\n'
    for i in $(seq 10); do printf '%d=%s\r\n' $i "$(realpath "$units/tick.wav")"; done
    printf '[Sound-Menu]\r\n'
    for i in $(seq 10); do printf '%d=Sound %d\r\n' $i $i; done
  } > "$APPDIR/External.ini"
}
