export function writeExtras(){}
