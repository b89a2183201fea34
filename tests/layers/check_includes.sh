#!/usr/bin/env bash
# The layers keep to their places: the core library and every project header
# it reaches include no Qt and nothing of the programs, and a file in a layer
# folder includes project headers of its own layer or the layers below only.
#
#   check_includes.sh SOURCE_DIR CORE_SOURCE...
#
# Layers from the bottom: core, formats, match; the rules in engine/ include
# nothing of the windows (shell/, dialogs/, hand/). Prints every fault and
# exits 1 when there is one.
set -uo pipefail

root=${1:?usage: check_includes.sh SOURCE_DIR CORE_SOURCE...}
shift
layers=(core formats match)

rank() {  # the layer of a path, or -1 outside the layer folders
    local i
    for i in "${!layers[@]}"; do
        [[ $1 == "${layers[$i]}"/* ]] && { echo "$i"; return; }
    done
    echo -1
}

quoted_includes() { sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$root/$1"; }

faults=0
fault() {
    echo "$1"
    faults=$((faults + 1))
}

# The core library and the project headers it reaches.
declare -A seen=()
queue=("$@")
while ((${#queue[@]})); do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    [[ -n ${seen[$file]:-} ]] && continue
    seen[$file]=1
    [ -f "$root/$file" ] || continue
    while IFS= read -r qt; do
        fault "$file: includes <$qt> (Qt in the core)"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\(Q[A-Za-z0-9_/]*\)>.*/\1/p' "$root/$file")
    while IFS= read -r inc; do
        [ -f "$root/$inc" ] || continue
        [[ $inc == tools/* ]] && fault "$file: includes \"$inc\" (a program's file in the core)"
        queue+=("$inc")
    done < <(quoted_includes "$file")
done

# Every file in a layer folder looks only downwards.
for layer in "${layers[@]}"; do
    [ -d "$root/$layer" ] || continue
    while IFS= read -r path; do
        file=${path#"$root"/}
        own=$(rank "$file")
        while IFS= read -r inc; do
            [ -f "$root/$inc" ] || continue
            target=$(rank "$inc")
            if ((target < 0 || target > own)); then
                fault "$file: includes \"$inc\" (above the ${layers[$own]} layer)"
            fi
        done < <(quoted_includes "$file")
        grep -q '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$root/$file" &&
            fault "$file: includes Qt (the ${layers[$own]} layer has none)"
    done < <(find "$root/$layer" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done

# The rules (engine/) stand below the windows and include none of them.
if [ -d "$root/engine" ]; then
    while IFS= read -r path; do
        file=${path#"$root"/}
        while IFS= read -r inc; do
            [[ $inc == shell/* || $inc == dialogs/* || $inc == hand/* ]] && [ -f "$root/$inc" ] &&
                fault "$file: includes \"$inc\" (a window in the rules)"
        done < <(quoted_includes "$file")
    done < <(find "$root/engine" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
fi

if ((faults)); then
    echo "check_includes.sh: $faults include(s) against the layers"
    exit 1
fi
echo "the layers include downwards only, and the core has no Qt"
