export const CITY_ATTRIBUTION = "x"; export function cityList(){return []}
