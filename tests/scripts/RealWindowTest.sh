#!/usr/bin/env bash
# The real executable in a real X server, started as a user starts it: its window comes up with
# the toolbar's pictures read from the Resources folder (so the application object stood before
# the window), and SIGTERM ends it with the exit status 0 and no report.
# Usage: RealWindowTest.sh path/to/tunemill  (inside xvfb-run)
set -u
exe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

# The number of pixels in the toolbar's strip for which the fx expression holds.
count() {
    convert "$dir/shot.png" -crop 600x64+0+0 +repage -fx "$1" \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null || echo 0
}

"$exe" 2> "$dir/stderr" &
pid=$!
green=0
red=0
for _ in $(seq 1 100); do
    sleep 0.2
    kill -0 "$pid" 2>/dev/null || break
    import -window root "$dir/shot.png" 2>/dev/null || continue
    # The Play picture is green, the Stop picture red.
    green=$(count '(g>r+0.25)*(g>b+0.25)')
    red=$(count '(r>g+0.25)*(r>b+0.25)')
    if [ "$green" -gt 50 ] && [ "$red" -gt 50 ]; then
        break
    fi
done

kill -TERM "$pid" 2>/dev/null
wait "$pid"
status=$?

failed=0
if [ "$green" -le 50 ] || [ "$red" -le 50 ]; then
    echo "the toolbar's pictures did not show: $green green and $red red pixels"
    failed=1
fi
if [ "$status" -ne 0 ]; then
    echo "exit status $status after SIGTERM, not 0"
    failed=1
fi
if grep -q "unhandled exception" "$dir/stderr"; then
    echo "a report at start-up:"
    cat "$dir/stderr"
    failed=1
fi
exit "$failed"
