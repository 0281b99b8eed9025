#!/usr/bin/env bash
# Fails when a folder of src/ includes a header of a folder above it in the layering, uses a
# relative path into another folder, or, where it must build without Qt, includes a Qt header.
# The build enforces the same through each library's include folder; this says it in one line
# per fault, before anything is compiled.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# The folders each folder may include besides its own, lowest first.
declare -A allowed=(
    [model]=""
    [core]="model"
    [session]="model core"
    [graphs]="model core"
    [plotter]="model core graphs"
    [scene]="model core"
    [view3d]="model core scene"
    [images]="model core"
    [platform]="model core session"
    [dialogs]="model core session graphs plotter scene view3d images platform"
    [app]="model core session graphs plotter scene view3d images platform dialogs"
    [cli]="model core session graphs plotter scene view3d images platform"
    [render]="model core session graphs plotter scene view3d images platform dialogs app cli"
)
without_qt=" model core session graphs scene view3d "

faults=0
for folder in "${!allowed[@]}"; do
    [ -d "$root/src/$folder" ] || continue
    while IFS= read -r hit; do
        [ -n "$hit" ] || continue
        location="${hit%%:#*}"
        line="${hit#"$location":}"
        [[ "$line" =~ include[[:space:]]*[\"\<]([^\">]*) ]] || continue
        header="${BASH_REMATCH[1]}"
        first="${header%%/*}"
        reason=""
        if [[ "$line" =~ \<Q ]] && [[ "$without_qt" == *" $folder "* ]]; then
            reason="$folder builds without Qt"
        elif [[ "$header" == ../* ]]; then
            reason="a relative path leaves the folder"
        elif [[ "$header" == */* ]] && [ -n "${allowed[$first]+set}" ] && [ "$first" != "$folder" ] &&
            [[ " ${allowed[$folder]} " != *" $first "* ]]; then
            reason="$folder may include only: ${allowed[$folder]:-its own headers}"
        fi
        if [ -n "$reason" ]; then
            echo "${location#"$root"/}: $header ($reason)"
            faults=$((faults + 1))
        fi
    done < <(grep -rHnE '^[[:space:]]*#[[:space:]]*include' "$root/src/$folder" || true)
done

if [ "$faults" -gt 0 ]; then
    echo "$faults include(s) cross the layers" >&2
    exit 1
fi
echo "Includes follow the layers"
