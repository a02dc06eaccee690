<?php
// The state file time fixes the answer; otherwise the stub's clock.
return function (Stub $stub, array $fields): array {
    $fixed = $stub->read('time');
    return ['TIME=' . ($fixed !== null ? trim($fixed) : date('Y/m/d H:i:s'))];
};
