# Sourced by the benchmark and soak scripts: an X server of their own with a window manager on it
# (minimizing needs one).
#
#   start_x_desktop FIRST_DISPLAY_NUMBER LOG_DIR
#
# starts Xvfb 1024x768x24 on the first free display from FIRST_DISPLAY_NUMBER and openbox on it,
# exports DISPLAY and sets xvfb_pid and openbox_pid for the caller's cleanup.
start_x_desktop() {
  local display_number=$1 log_dir=$2
  while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
    display_number=$((display_number + 1))
  done
  Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp >"$log_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$display_number"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
  openbox >"$log_dir/openbox.log" 2>&1 &
  openbox_pid=$!
  sleep 1
}
