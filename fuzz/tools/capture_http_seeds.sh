#!/usr/bin/env bash
# Writes the config and download targets' seeds from a simulated camera's real replies. The
# camera listens on 127.0.0.2, so this runs in a private namespace:
#   scripts/netns-run fuzz/tools/capture_http_seeds.sh build-fuzz/standins/camera/camsim
# A config seed is the parser's index byte, its option byte (a page size + 16), then the reply;
# the indexes follow the parser lists of config_modules.cpp, config_groups.cpp and
# config_history.cpp, in that order.
set -euo pipefail
camsim=$(realpath "$1")
cd "$(dirname "$0")/.."
config=corpus/config_reply_fuzzer
download=corpus/download_fuzzer
camera=http://127.0.0.2:8089
state=$(mktemp -d)
"$camsim" --cameras 1 --first 127.0.0.2 --state "$state" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid; wait $pid || true; rm -rf "$state"' EXIT

ask() {  # PATH BODY
    curl -s --max-time 5 --digest -u admin:admin -H 'Content-Type: application/json' \
        --data "$2" "$camera$1"
}
for _ in $(seq 50); do
    ask /common/config '{}' >/dev/null 2>&1 && break
    sleep 0.1
done

seed() {  # NAME INDEX OPTION PATH BODY
    printf "\\x$(printf %02x "$2")\\x$(printf %02x "$3")" >"$config/$1"
    ask "$4" "$5" >>"$config/$1"
}
envelope() {  # ACTION MODULE... (get_reqt) or ACTION MODULE PARM (set_reqt)
    local action=$1 modules="" name
    shift
    if [ "$action" = set_reqt ]; then
        modules="{\"name\":\"$1\",\"parm\":$2}"
    else
        for name in "$@"; do modules="$modules${modules:+,}{\"name\":\"$name\"}"; done
    fi
    echo "{\"config\":{\"action\":\"$action\",\"module\":[$modules]}}"
}

seed modules-read 0 0 /common/config "$(envelope get_reqt device_status device_diagnose time \
    network transfer_protocol image_backlight image_defog capecfg)"
seed modules-read-unknown 0 0 /common/config "$(envelope get_reqt device_status no_such_module)"
seed modules-read-bad 0 0 /common/config '{"config":{"action":"get_reqt"}}'
seed modules-write 1 0 /common/config "$(envelope set_reqt image_backlight \
    '[{"@type":"vantor/lumen.type.Int32","name":"backlight_level","value":6}]')"
groups=(face_exposure image_lighting image_adjust image_exposure image_focus image_dnr
    image_enhance image_whitebalance capecfg RecogApp recoglinkage passflow capabi)
for i in "${!groups[@]}"; do
    seed "group-${groups[$i]}" $((i + 2)) 0 /common/config "$(envelope get_reqt "${groups[$i]}")"
done
range='"start_time":0,"end_time":9223372036854775807'
seed flow-history 15 26 /api/v1/passflow/log "{$range,\"page_num\":1,\"page_size\":10}"
seed recognize-history 16 26 /api/v1/recognize/log "{$range,\"page_num\":1,\"page_size\":10}"
seed snap-history 17 26 /api/v1/snap/log "{$range,\"page_num\":1,\"page_size\":10}"
seed flow-statistics 18 0 /api/v1/passflowstats/log "{$range}"

# The analysis log as received: the digest challenge, the answer's headers, then the file.
curl -s --max-time 5 --digest -u admin:admin -D "$state/head" -o "$state/body" \
    "$camera/common/smart_log"
cat "$state/head" "$state/body" >"$download/smart-log"
echo "seeds written: $(ls "$config" | wc -l) config, $(ls "$download" | wc -l) download"
