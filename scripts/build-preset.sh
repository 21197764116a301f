# Sourced by test.sh and scripts/package.sh: configures and builds one preset.
#
# configure_and_build LOG_DIR PRESET [TARGET...] : configures the preset and
# builds the targets (every target when none is named), with $jobs parallel
# jobs (the number of processors when unset). Each step's output goes to
# LOG_DIR/configure-PRESET.log and LOG_DIR/build-PRESET.log; on failure the
# end of the log is shown, LOG_DIR/failed-PRESET says "STEP PRESET|LOG", and
# the status is 1.
configure_and_build() {
  local log_dir="$1" preset="$2"
  shift 2
  local targets=()
  (($#)) && targets=(--target "$@")
  local log="$log_dir/configure-$preset.log"
  if ! cmake --preset "$preset" >"$log" 2>&1; then
    tail -40 "$log"
    echo "configure $preset|$log" >"$log_dir/failed-$preset"
    return 1
  fi
  log="$log_dir/build-$preset.log"
  if ! cmake --build --preset "$preset" -j"${jobs:-$(nproc)}" "${targets[@]}" >"$log" 2>&1; then
    tail -50 "$log"
    echo "build $preset|$log" >"$log_dir/failed-$preset"
    return 1
  fi
}
