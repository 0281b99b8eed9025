#!/usr/bin/env bash
# Runs every lobex-cli subcommand of two builds over the same files and reports each run whose
# standard output, standard error, exit status or written files differ. For plot the standard
# output is the command strings sent to the engine.
#
#   tools/compare_cli_outputs.sh OLD_BIN NEW_BIN [FOLDER...]
#
# OLD_BIN and NEW_BIN are bin/ folders holding lobex-cli (keep a copy of the old one before
# rebuilding). FOLDERs default to tests/data and samples; their *.csv and *.maa files are read,
# subfolders included. Exit status: 0 all equal, 1 some run differs, 2 usage.
set -uo pipefail

if [ "$#" -lt 2 ] || [ ! -x "$1/lobex-cli" ] || [ ! -x "$2/lobex-cli" ]; then
    echo "usage: $0 OLD_BIN NEW_BIN [FOLDER...] (each BIN holding lobex-cli)" >&2
    exit 2
fi
old="$(cd "$1" && pwd)"
new="$(cd "$2" && pwd)"
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
folders=()
# The runs start in a scratch folder: a folder named relative to here would find no files there,
# and every run would fail alike in both builds.
for folder in "$@"; do
    folders+=("$(cd "$folder" && pwd)")
done
if [ "${#folders[@]}" -eq 0 ]; then
    folders=("$root/tests/data" "$root/samples")
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# Both builds write to the same path, since the path shows up in what they print.
out="$scratch/out"

mapfile -t files < <(find "${folders[@]}" -type f \( -iname '*.csv' -o -iname '*.maa' \) | sort)

# One argument list per line; FILE and OUT stand for the input file and the output folder.
cases_per_file='info FILE
info FILE --decimal ,
info FILE --set 2
table FILE
table FILE --decimal ,
info FILE --z0 75 --swr-threshold 3
table FILE --z0 50-j10
plot FILE --out OUT/smith.png --print-commands --smith
plot FILE --out OUT/z0.png --print-commands --z0 75
plot FILE --out OUT/graph.png --print-commands
plot FILE --out OUT/graph.svg --print-commands --host polar --diagram elevation --decimal ,
plot FILE --out OUT/graph.emf --print-commands --left 3 --right 4 --log xy
model FILE --out OUT/model.x
model FILE --text --out OUT/model.x
antenna FILE'
cases_once='
--help
colour
info
info --help
info --mmana
table --mmana --decimal ,
table --help
plot --help
plot FILE-MISSING.csv --out OUT/graph.png
plot FILE-MISSING.csv --out OUT/graph.xyz
model --help
antenna --help'

# Runs one build into $scratch/$2: stdout, stderr, exit status and the files it wrote.
run() {
    local bin="$1" tag="$2"
    shift 2
    rm -rf "${out:?}" "${scratch:?}/$tag"
    mkdir -p "$out" "$scratch/$tag"
    (cd "$scratch" && "$bin/lobex-cli" "$@" >"$scratch/$tag/stdout" 2>"$scratch/$tag/stderr")
    echo "$?" >"$scratch/$tag/status"
    mv "$out" "$scratch/$tag/files"
}

runs=0
differing=0
compare() {
    runs=$((runs + 1))
    run "$old" old "$@"
    run "$new" new "$@"
    if ! diff -r "$scratch/old" "$scratch/new" >"$scratch/diff" 2>&1; then
        differing=$((differing + 1))
        echo "DIFFERS: lobex-cli $*"
        head -n 20 "$scratch/diff" | sed 's/^/    /'
    fi
}

# Splits a case line into words and puts the file and the output folder in.
compare_case() {
    local line="$1" file="$2" args=() word
    read -r -a words <<<"$line"
    for word in "${words[@]}"; do
        word="${word//OUT/$out}"
        [ "$word" = FILE ] && word="$file"
        args+=("$word")
    done
    compare "${args[@]}"
}

while IFS= read -r line; do
    compare_case "$line" ""
done <<<"$cases_once"
for file in "${files[@]}"; do
    while IFS= read -r line; do
        compare_case "$line" "$file"
    done <<<"$cases_per_file"
done

echo "${#files[@]} files, $runs runs, $differing differing"
[ "$differing" -eq 0 ]
